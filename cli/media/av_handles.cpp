#include "cli/media/av_handles.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace sorvel::cli {
namespace {

// The codecs log from their own threads.
std::mutex logMutex;
std::string lastLogged;

void keepErrors(void* object, int level, const char* format, va_list args) {
    if (level > AV_LOG_ERROR) return;
    char line[512];
    int prefix = 1;
    av_log_format_line2(object, level, format, args, line, sizeof line, &prefix);
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    // "[libx264 @ 0x55d0c0] width not divisible by 2" becomes "libx264: width ...".
    if (text.size() > 1 && text[0] == '[') {
        const std::size_t at = text.find(" @ "), close = text.find("] ");
        if (at != std::string::npos && close != std::string::npos && at < close) {
            // A demuxer's name may list its formats: "mov,mp4,m4a" is "mov".
            const std::string name = text.substr(1, std::min(at, text.find(',')) - 1);
            text = (name == "NULL" ? "" : name + ": ") + text.substr(close + 2);
        }
    }
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    if (text.empty()) return;
    const std::lock_guard<std::mutex> lock(logMutex);
    lastLogged = text;
}

}  // namespace

std::string avErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = "";
    av_strerror(error, text, sizeof text);
    const std::lock_guard<std::mutex> lock(logMutex);
    if (lastLogged.empty()) return text;
    return lastLogged + ": " + text;
}

std::string libraryMessage() {
    const std::lock_guard<std::mutex> lock(logMutex);
    return lastLogged;
}

void captureLibraryLog() { av_log_set_callback(keepErrors); }

void clearLibraryLog() {
    const std::lock_guard<std::mutex> lock(logMutex);
    lastLogged.clear();
}

}  // namespace sorvel::cli
