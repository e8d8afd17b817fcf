#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own: it takes about as
// long as the application takes to connect to the display, and the first text
// measured needs it. Wait() returns once it is read; so does the destructor.
class FontConfigLoader {
public:
    FontConfigLoader();
    ~FontConfigLoader();
    FontConfigLoader(const FontConfigLoader&) = delete;
    FontConfigLoader& operator=(const FontConfigLoader&) = delete;
    void Wait();

private:
    std::thread thread_;
};
