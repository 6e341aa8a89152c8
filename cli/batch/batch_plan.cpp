#include "cli/batch/batch_plan.h"

#include <cctype>

namespace sorvel::cli {
namespace {

std::size_t baseStart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string lowerExtension(const std::string& path) {
    const std::size_t base = baseStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= base) return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

}  // namespace

std::string batchOutputPath(const std::string& dir, const std::string& input, const std::string& format) {
    const std::size_t base = baseStart(input);
    std::string name = input.substr(base);
    if (!format.empty()) {
        const std::size_t dot = name.rfind('.');
        name = (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + "." + format;
    }
    const bool separated = !dir.empty() && (dir.back() == '/' || dir.back() == '\\');
    return dir + (separated ? "" : "/") + name;
}

bool isPictureName(const std::string& path) {
    const std::string extension = lowerExtension(path);
    for (const char* picture : {"jpg", "jpeg", "jpe", "png", "tif", "tiff", "webp", "bmp", "tga", "ppm", "pgm", "pnm",
                                "pam", "jp2", "dpx", "pcx", "sgi", "qoi"})
        if (extension == picture) return true;
    return false;
}

std::string batchSummary(const BatchCounts& counts) {
    std::string text = "graded " + std::to_string(counts.graded) + " of " + std::to_string(counts.total) +
                       (counts.total == 1 ? " file" : " files");
    if (counts.skipped > 0)
        text += "; " + std::to_string(counts.skipped) + " skipped (already there; --overwrite replaces them)";
    if (!counts.failures.empty()) {
        text += "; " + std::to_string(counts.failures.size()) + " failed: ";
        for (std::size_t i = 0; i < counts.failures.size(); ++i) text += (i == 0 ? "" : "; ") + counts.failures[i];
    }
    return text;
}

}  // namespace sorvel::cli
