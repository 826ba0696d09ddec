#pragma once

#include <QString>

#include <chrono>
#include <cstddef>
#include <memory>

namespace httplib {
class Server;
}

namespace velmora::server {

class MethodTable;
class Storage;

// The HTTP face of the server: remote calls under /datasnap/, the address echo and the
// installer download.
class HttpService {
public:
    struct Options {
        // A kept-alive connection holds its worker until it closes, idles past keepAliveTimeout
        // or reaches keepAliveMaxCount; connections beyond the workers wait that long for an
        // answer. So there are workers for every client likely to be connected at once.
        int threads = 64;
        std::size_t maxBodyBytes = 1024 * 1024;
        std::chrono::seconds keepAliveTimeout{5};
        std::size_t keepAliveMaxCount = 100;
        std::chrono::seconds readTimeout{10};
        std::chrono::seconds writeTimeout{30};
    };

    static constexpr const char* serverName = "velmora-server";

    HttpService(Storage& storage, const MethodTable& methods, const Options& options);
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds to the address and port (0: any free port); returns the port, or -1 on failure.
    int bind(const QString& address, int port);
    // Serves until stop(); false when it could not serve.
    bool run();
    // Safe from any thread.
    void stop();

private:
    void installRoutes();

    Storage& m_storage;
    const MethodTable& m_methods;
    Options m_options;
    std::unique_ptr<httplib::Server> m_server;
};

} // namespace velmora::server
