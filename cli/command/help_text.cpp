#include "cli/command/help_text.h"

#include <cstddef>

#include "core/kernel_choice.h"
#include "sorvel_version.h"

namespace sorvel::cli {

std::string wrapText(const std::string& text, std::size_t width, std::size_t indent) {
    std::string out, line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += std::string(indent, ' ') + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += std::string(indent, ' ') + line + "\n";
    return out;
}

std::string usageText() {
    std::string text =
        "sorvel: the Video Sorvel colour filters on pictures, videos and raw video frames\n"
        "\n"
        "Usage: sorvel FILTER a,b,c [--then FILTER a,b,c]... IN OUT [options]\n"
        "   or: sorvel FILTER a,b,c [--then FILTER a,b,c]... IN... -o DIR [--format EXT] [--overwrite] [options]\n"
        "   or: sorvel FILTER a,b,c [--then FILTER a,b,c]... --raw WIDTHxHEIGHT [--threads N] [--quiet]\n"
        "   or: sorvel FILTER a,b,c [--then FILTER a,b,c]... --lut FILE.png|FILE.cube\n"
        "   or: sorvel demo [OUT.png]\n"
        "   or: sorvel help [FILTER]\n"
        "\n"
        "Filters, with their three parameters in the order of their script line\n"
        "Config(a, b, c):\n";
    for (const FilterInfo& f : allFilters()) {
        std::string names = std::string(f.parameters[0].name) + ", " + f.parameters[1].name + ", " +
                            f.parameters[2].name;
        names.resize(32, ' ');
        text += std::string("  ") + f.name + "  " + names + "defaults " + std::to_string(f.parameters[0].defaultValue) +
                "," + std::to_string(f.parameters[1].defaultValue) + "," +
                std::to_string(f.parameters[2].defaultValue) + "  (" + f.library + ")\n";
    }
    text +=
        "\n"
        "Parameters may also be given as the script line itself, in quotes:\n"
        "  sorvel yiq 'Config(150, 300, 0)' photo.jpg brighter.jpg\n"
        "Each runs from 0 to 300 in the dialogs; other whole numbers are used with a\n"
        "warning, as a processing script would use them.\n"
        "\n"
        "Options:\n"
        "  --then FILTER a,b,c  then apply another filter to the result; repeatable\n"
        "  --codec NAME         the video encoder (ffmpeg -encoders); default: the input's\n"
        "                       codec where OUT's container holds it, else the container's\n"
        "  --crf N              the encoder's constant quality (default 18 where it has one)\n"
        "  --lossless           FFV1 in an .mkv file, or a PNG picture: the RGB frames exactly\n"
        "  --speed S            the encoder's usual preset: fast, medium (default) or slow\n"
        "  --threads N          filter threads (default: one per processor)\n"
        "  -o, --out-dir DIR    grade every IN into DIR under its own name (made if\n"
        "                       missing); pictures several at once, one per processor;\n"
        "                       an output already there is skipped; a summary at the end\n"
        "  --format EXT         with --out-dir: write EXT files (jpg, png, ...) instead\n"
        "  --overwrite          with --out-dir: replace the outputs already there\n"
        "  --raw WIDTHxHEIGHT   filter raw 32-bit BGRA frames of this size from standard\n"
        "                       input to standard output (ffmpeg -f rawvideo -pix_fmt bgra)\n"
        "  --lut FILE           write the chain as a LUT for other tools instead: a Hald\n"
        "                       CLUT picture (.png, exact), or a .cube file (1-D and exact\n"
        "                       for rgb alone, else 3-D, with its measured error printed)\n"
        "  --lut-level 8|12|16  the Hald CLUT's level (default 16: every 8-bit colour)\n"
        "  --lut-size N         the 3-D .cube's points per axis, 2 to 256 (default 65);\n"
        "                       with rgb alone, a 3-D .cube instead of the 1-D one\n"
        "  --quiet, -q          no progress line and no encoder messages on standard error\n"
        "  --help, -h           this text; with a filter, its parameters explained\n"
        "  --version            the program's version\n"
        "\n"
#ifdef _WIN32
        "Files: this Windows build reads JPEG, PNG, BMP and TGA pictures and writes PNG,\n"
        "JPEG (quality 95) and BMP, as OUT's extension says; alpha passes through\n"
        "untouched. Video stays on the raw pipe, through ffmpeg:\n"
        "  ffmpeg -i IN -f rawvideo -pix_fmt bgra - | sorvel.exe FILTER a,b,c --raw WxH |\n"
        "  ffmpeg -f rawvideo -pix_fmt bgra -video_size WxH -framerate 25 -i - OUT\n"
#else
        "Files: any picture or video FFmpeg reads (JPEG, PNG, TIFF, WebP, BMP; MP4, MKV,\n"
        "MOV, AVI, WebM; numbered sequences like frame%04d.png); OUT's extension names its\n"
        "format. Frames are filtered as 8-bit BGRA; alpha passes through untouched; sound,\n"
        "subtitles, time stamps and colour tags are kept. A photo is written upright,\n"
        "with its EXIF, IPTC, XMP and ICC profile where OUT's format holds them.\n"
#endif
        "\n"
        "Exit status: 0 done, 1 a file or stream could not be read or written,\n"
        "2 a bad command line.\n";
    return text;
}

std::string versionText() {
    return "sorvel " SORVEL_VERSION_TEXT "\n" SORVEL_COPYRIGHT
           "\n\nLicensed under the MIT licence: free to use, copy, modify and distribute, without\n"
           "warranty. See the LICENSE file that comes with the program.\n\nKernel: " +
           applyKernelChoice().why + "\n";
}

std::string filterHelpText(const FilterInfo& f) {
    std::string text = std::string(f.name) + ": " + f.title + ", the plug-in " + f.library + "\n\n";
    text += wrapText(f.summary, 78, 0);
    text += std::string("\n  sorvel ") + f.name + " ";
    for (std::size_t i = 0; i < 3; ++i) {
        for (const char* c = f.parameters[i].name; *c != '\0'; ++c) text += static_cast<char>(*c - 'a' + 'A');
        text += i < 2 ? "," : " IN OUT\n";
    }
    text += std::string("  script line: Config(") + f.parameters[0].name + ", " + f.parameters[1].name + ", " +
            f.parameters[2].name + ")\n\n";
    for (const ParameterInfo& p : f.parameters) {
        text += std::string("  ") + p.name + ": 0 to 300, default " + std::to_string(p.defaultValue) + "\n";
        text += wrapText(p.help, 78, 4);
    }
    return text;
}

}  // namespace sorvel::cli
