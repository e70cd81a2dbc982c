#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

// The replay server of recorded quote-service answers (replay_server.py beside this file), run
// on 127.0.0.1 for as long as the object lives.
class ReplayServer {
  public:
    // Serves the routes of plan.json, over HTTPS with a certificate made now when `tls`.
    explicit ReplayServer(bool tls, double delaySeconds = 0) {
        namespace fs = std::filesystem;
        std::string folder = (fs::temp_directory_path() / "aurelant-replay-XXXXXX").string();
        if (::mkdtemp(folder.data()) == nullptr) {
            throw std::runtime_error("no folder for the replay server");
        }
        work_ = folder;
        const fs::path portFile = work_ / "port";
        const std::string tests = AURELANT_QUOTES_TESTS;
        const std::string command = "exec python3 " + tests + "/replay_server.py " + tests +
                                    "/plan.json " + portFile.string() +
                                    (tls ? " --tls " + work_.string() : "") + " --delay " +
                                    std::to_string(delaySeconds);
        input_ = ::popen(command.c_str(), "w");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (input_ != nullptr && !(std::ifstream(portFile) >> port_)) {
            if (std::chrono::steady_clock::now() > deadline) {
                throw std::runtime_error("the replay server did not start");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        address_ = std::string(tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
        // A proxy of the machine's must not stand between the tests and their server.
        ::setenv("no_proxy", "127.0.0.1", 1);
        ::setenv("NO_PROXY", "127.0.0.1", 1);
        caFile_ = (work_ / "ca.pem").string();
    }
    ~ReplayServer() {
        if (input_ != nullptr) {
            ::pclose(input_);  // its input closes, and it ends
        }
        std::error_code ignored;
        std::filesystem::remove_all(work_, ignored);
    }
    ReplayServer(const ReplayServer&) = delete;
    ReplayServer& operator=(const ReplayServer&) = delete;

    const std::string& address() const { return address_; }
    const std::string& caFile() const { return caFile_; }

  private:
    std::filesystem::path work_;
    std::FILE* input_ = nullptr;
    int port_ = 0;
    std::string address_;
    std::string caFile_;
};
