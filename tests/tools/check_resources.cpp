// Static check of a plug-in library's resources: dialog template 101 and
// icon group 102, read from the PE resource directory of the .vdf file
// (32- or 64-bit) and compared, control by control, with the layout each
// filter's dialog must have.
//
//   check_resources LIBRARY.vdf yiq|rgb|hsv [ICON.ico]
//
// With ICON.ico, every icon image in the library must also be byte for byte
// the matching image of that file.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/dialog_templates.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

int failures = 0;

void fail(const std::string& what) {
    std::printf("FAIL %s\n", what.c_str());
    ++failures;
}

template <typename T>
void expectEqual(const std::string& what, T actual, T expected) {
    if (actual == expected) return;
    fail(what + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

void expectHex(const std::string& what, std::uint32_t actual, std::uint32_t expected) {
    if (actual == expected) return;
    char text[64];
    std::snprintf(text, sizeof text, ": got 0x%08X, expected 0x%08X", actual, expected);
    fail(what + text);
}

void expectText(const std::string& what, const std::string& actual, const std::string& expected) {
    if (actual != expected) fail(what + ": got \"" + actual + "\", expected \"" + expected + "\"");
}

using sorvel::test::templates::Control;
using sorvel::test::templates::Dialog;
using sorvel::test::templates::kHsv;
using sorvel::test::templates::kRgb;
using sorvel::test::templates::kYiq;

// Icon group 102: both sizes in 256, 16 and 2 colours.
struct IconImage {
    int size, bits;
};
const IconImage kIconImages[] = {{32, 8}, {32, 4}, {32, 1}, {16, 8}, {16, 4}, {16, 1}};

// --- Reading bytes ----------------------------------------------------------

// A bounds-checked little-endian reader over part of a file.
class Reader {
public:
    Reader(const Bytes& bytes, std::size_t begin, std::size_t end)
        : bytes_(bytes), begin_(begin), at_(begin), end_(end > bytes.size() ? bytes.size() : end) {}

    bool ok() const { return ok_; }
    std::size_t offset() const { return at_ - begin_; }
    void seek(std::size_t offset) { at_ = begin_ + offset; }
    void alignTo4() { at_ = begin_ + (offset() + 3) / 4 * 4; }

    std::uint32_t take(int count) {
        if (at_ + count > end_) {
            ok_ = false;
            return 0;
        }
        std::uint32_t v = 0;
        for (int i = count - 1; i >= 0; --i) v = (v << 8) | bytes_[at_ + i];
        at_ += count;
        return v;
    }
    std::uint8_t byte() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t word() { return static_cast<std::uint16_t>(take(2)); }
    std::int16_t signedWord() { return static_cast<std::int16_t>(take(2)); }
    std::uint32_t dword() { return take(4); }

    // A zero-terminated UTF-16 string, kept as ASCII ('?' for the rest).
    std::string text() {
        std::string s;
        for (std::uint16_t c = word(); ok_ && c != 0; c = word()) s += c < 0x80 ? static_cast<char>(c) : '?';
        return s;
    }
    // A name-or-ordinal field: 0 (none), 0xFFFF then an ordinal ("#N"), or
    // a string.
    std::string nameOrOrdinal() {
        const std::uint16_t first = word();
        if (first == 0) return "";
        if (first == 0xFFFF) return "#" + std::to_string(word());
        at_ -= 2;
        return text();
    }

private:
    const Bytes& bytes_;
    std::size_t begin_, at_, end_;
    bool ok_ = true;
};

struct Blob {
    std::size_t offset = 0, size = 0;
    bool found = false;
};

// The resource section of a PE image.
class Resources {
public:
    explicit Resources(const Bytes& file) : file_(file) {
        Reader r(file, 0, file.size());
        r.seek(0x3C);
        const std::uint32_t pe = r.dword();
        r.seek(pe);
        if (r.dword() != 0x00004550) {
            fail("no PE signature");
            return;
        }
        r.word();  // machine
        const unsigned sections = r.word();
        r.seek(pe + 20);
        const unsigned optionalSize = r.word();
        const std::size_t optional = pe + 24;
        r.seek(optional);
        const unsigned magic = r.word();
        if (magic != 0x10B && magic != 0x20B) {
            fail("unknown optional header magic " + std::to_string(magic));
            return;
        }
        // Data directory 2 (resources) follows 96 bytes of PE32 fields, or
        // 112 of PE32+.
        r.seek(optional + (magic == 0x10B ? 96 : 112) + 2 * 8);
        rootRva_ = r.dword();
        r.seek(optional + optionalSize);
        for (unsigned i = 0; i < sections; ++i) {
            r.seek(optional + optionalSize + i * 40 + 8);
            Section s;
            s.virtualSize = r.dword();
            s.rva = r.dword();
            s.rawSize = r.dword();
            s.rawOffset = r.dword();
            sections_.push_back(s);
        }
        if (!r.ok()) fail("truncated PE headers");
        root_ = fileOffset(rootRva_);
        if (rootRva_ == 0 || root_ == 0) fail("no resource directory");
    }

    // The first language of resource type/id.
    Blob find(unsigned type, unsigned id) const {
        if (root_ == 0) return {};
        std::size_t dir = root_;
        for (unsigned key : {type, id}) {
            const std::uint32_t entry = findEntry(dir, key, false);
            if (!(entry & 0x80000000u)) return {};
            dir = root_ + (entry & 0x7FFFFFFFu);
        }
        const std::uint32_t leaf = findEntry(dir, 0, true);
        if (leaf == 0 || (leaf & 0x80000000u)) return {};
        Reader r(file_, root_ + leaf, file_.size());
        const std::uint32_t rva = r.dword(), size = r.dword();
        Blob b;
        b.offset = fileOffset(rva);
        b.size = size;
        b.found = r.ok() && b.offset != 0 && b.offset + size <= file_.size();
        return b;
    }

private:
    struct Section {
        std::uint32_t virtualSize, rva, rawSize, rawOffset;
    };

    std::size_t fileOffset(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            const std::uint32_t span = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.rva && rva < s.rva + span) return s.rawOffset + (rva - s.rva);
        }
        return 0;
    }

    // The offset field of the directory entry with numeric id `key`, or of
    // the first entry when `first` is set; 0 when there is none.
    std::uint32_t findEntry(std::size_t dir, unsigned key, bool first) const {
        Reader r(file_, dir, file_.size());
        r.seek(12);
        const unsigned named = r.word(), numbered = r.word();
        for (unsigned i = 0; i < named + numbered && r.ok(); ++i) {
            const std::uint32_t name = r.dword(), offset = r.dword();
            if (first || (!(name & 0x80000000u) && name == key)) return r.ok() ? offset : 0;
        }
        return 0;
    }

    const Bytes& file_;
    std::vector<Section> sections_;
    std::uint32_t rootRva_ = 0;
    std::size_t root_ = 0;
};

// --- Checks -------------------------------------------------------------------

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Predefined window classes may be stored as atoms. Class names are
// compared without regard to case, as Windows looks them up: windres stores
// every class name of a template in capitals.
std::string className(const std::string& stored) {
    static const char* const atoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    for (unsigned i = 0; i < 6; ++i)
        if (stored == "#" + std::to_string(0x80 + i)) return atoms[i];
    return upper(stored);
}

void checkDialog(const Bytes& file, const Resources& res, const Dialog& want) {
    const Blob blob = res.find(5, 101);  // RT_DIALOG
    if (!blob.found) {
        fail("no dialog resource 101");
        return;
    }
    Reader r(file, blob.offset, blob.offset + blob.size);
    std::uint32_t style, exStyle;
    if (want.extended) {
        expectEqual("template version", unsigned{r.word()}, 1u);
        expectEqual("extended template signature", unsigned{r.word()}, 0xFFFFu);
        expectEqual("dialog help id", r.dword(), 0u);
        exStyle = r.dword();
        style = r.dword();
    } else {
        style = r.dword();
        exStyle = r.dword();
        if ((style >> 16) == 0xFFFF) fail("extended template where a plain one belongs");
    }
    expectHex("dialog style", style, want.style);
    expectHex("dialog extended style", exStyle, want.exStyle);
    const unsigned count = r.word();
    expectEqual("control count", count, static_cast<unsigned>(want.controls.size()));
    expectEqual("dialog x", int{r.signedWord()}, want.x);
    expectEqual("dialog y", int{r.signedWord()}, want.y);
    expectEqual("dialog width", int{r.signedWord()}, want.w);
    expectEqual("dialog height", int{r.signedWord()}, want.h);
    expectText("dialog menu", r.nameOrOrdinal(), "");
    expectText("dialog class", r.nameOrOrdinal(), "");
    expectText("dialog caption", r.text(), want.caption);
    if (style & 0x40) {  // DS_SETFONT
        expectEqual("font size", int{r.word()}, want.pointSize);
        if (want.extended) {
            expectEqual("font weight", unsigned{r.word()}, 0u);
            expectEqual("font italic", unsigned{r.byte()}, 0u);
            expectEqual("font character set", unsigned{r.byte()}, 1u);  // DEFAULT_CHARSET
        }
        expectText("font", r.text(), want.font);
    } else {
        fail("template names no font");
    }

    for (unsigned i = 0; i < count && i < want.controls.size() && r.ok(); ++i) {
        const Control& c = want.controls[i];
        const std::string at = "control " + std::to_string(i + 1) + " (" + c.caption + ")";
        r.alignTo4();
        std::uint32_t id, cStyle, cExStyle;
        if (want.extended) {
            expectEqual(at + " help id", r.dword(), 0u);
            cExStyle = r.dword();
            cStyle = r.dword();
        } else {
            cStyle = r.dword();
            cExStyle = r.dword();
        }
        const int x = r.signedWord(), y = r.signedWord(), w = r.signedWord(), h = r.signedWord();
        id = want.extended ? r.dword() : r.word();
        const std::uint32_t wantId = want.extended ? static_cast<std::uint32_t>(c.id)
                                                   : static_cast<std::uint16_t>(c.id);
        expectEqual(at + " id", id, wantId);
        expectText(at + " class", className(r.nameOrOrdinal()), upper(c.cls));
        expectText(at + " caption", r.nameOrOrdinal(), c.caption);
        expectEqual(at + " x", x, c.x);
        expectEqual(at + " y", y, c.y);
        expectEqual(at + " width", w, c.w);
        expectEqual(at + " height", h, c.h);
        expectHex(at + " style", cStyle, c.style);
        expectHex(at + " extended style", cExStyle, 0u);
        const unsigned extra = r.word();
        expectEqual(at + " creation data bytes", extra, 0u);
    }
    if (!r.ok()) fail("dialog template is truncated");
    if (r.offset() > blob.size) fail("dialog template runs past its resource");
}

// Where image `image` (size, bits) lies in an .ico file.
Blob findInIco(const Bytes& ico, const IconImage& image) {
    Reader r(ico, 0, ico.size());
    r.word();
    r.word();
    const unsigned count = r.word();
    for (unsigned i = 0; i < count && r.ok(); ++i) {
        const unsigned w = r.byte(), h = r.byte();
        r.byte();
        r.byte();
        r.word();
        const unsigned bits = r.word();
        const std::uint32_t size = r.dword(), offset = r.dword();
        if (w == unsigned(image.size) && h == unsigned(image.size) && bits == unsigned(image.bits))
            return {offset, size, offset + size <= ico.size()};
    }
    return {};
}

void checkIconImage(const Bytes& file, const Blob& blob, const IconImage& want, const std::string& at) {
    Reader r(file, blob.offset, blob.offset + blob.size);
    expectEqual(at + " header size", r.dword(), 40u);
    expectEqual(at + " width", static_cast<int>(r.dword()), want.size);
    expectEqual(at + " height (colour and mask)", static_cast<int>(r.dword()), 2 * want.size);
    expectEqual(at + " planes", unsigned{r.word()}, 1u);
    expectEqual(at + " bits per pixel", int{r.word()}, want.bits);
    expectEqual(at + " compression", r.dword(), 0u);
    r.dword();  // image size, may be 0
    r.dword();
    r.dword();
    const std::uint32_t used = r.dword();
    const std::uint32_t colours = used != 0 ? used : 1u << want.bits;
    expectEqual(at + " palette colours", colours, 1u << want.bits);
    const std::size_t colourRow = (want.size * want.bits + 31) / 32 * 4;
    const std::size_t maskRow = (want.size + 31) / 32 * 4;
    const std::size_t size = 40 + 4 * colours + (colourRow + maskRow) * want.size;
    expectEqual(at + " resource size", blob.size, size);
    if (!r.ok()) fail(at + " is truncated");
}

void checkIcons(const Bytes& file, const Resources& res, const Bytes* ico) {
    const Blob group = res.find(14, 102);  // RT_GROUP_ICON
    if (!group.found) {
        fail("no icon group 102");
        return;
    }
    Reader r(file, group.offset, group.offset + group.size);
    expectEqual("icon group reserved word", unsigned{r.word()}, 0u);
    expectEqual("icon group type", unsigned{r.word()}, 1u);
    const unsigned count = r.word();
    expectEqual("icon group images", count, 6u);
    std::vector<bool> seen(6, false);
    for (unsigned i = 0; i < count && r.ok(); ++i) {
        const unsigned w = r.byte(), h = r.byte(), colours = r.byte();
        r.byte();
        const unsigned planes = r.word(), bits = r.word();
        const std::uint32_t bytes = r.dword();
        const unsigned id = r.word();
        const std::string at = "icon " + std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(bits) +
                               "-bit";
        int match = -1;
        for (int k = 0; k < 6; ++k)
            if (unsigned(kIconImages[k].size) == w && unsigned(kIconImages[k].size) == h &&
                unsigned(kIconImages[k].bits) == bits)
                match = k;
        if (match < 0) {
            fail("unexpected " + at);
            continue;
        }
        if (seen[match]) fail("repeated " + at);
        seen[match] = true;
        expectEqual(at + " colour count", colours, bits >= 8 ? 0u : 1u << bits);
        expectEqual(at + " planes", planes, 1u);
        const Blob image = res.find(3, id);  // RT_ICON
        if (!image.found) {
            fail(at + ": no icon resource " + std::to_string(id));
            continue;
        }
        expectEqual(at + " size in the group", std::size_t{bytes}, image.size);
        checkIconImage(file, image, kIconImages[match], at);
        if (ico) {
            const Blob drawn = findInIco(*ico, kIconImages[match]);
            if (!drawn.found || drawn.size != image.size ||
                std::memcmp(file.data() + image.offset, ico->data() + drawn.offset, image.size) != 0)
                fail(at + " differs from the icon file");
        }
    }
    if (!r.ok()) fail("icon group is truncated");
    for (int k = 0; k < 6; ++k)
        if (!seen[k])
            fail("icon group lacks " + std::to_string(kIconImages[k].size) + "x" + std::to_string(kIconImages[k].size) +
                 " " + std::to_string(kIconImages[k].bits) + "-bit");
}

bool readFile(const char* path, Bytes& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: check_resources LIBRARY.vdf yiq|rgb|hsv [ICON.ico]\n");
        return 2;
    }
    const std::string kind = argv[2];
    const Dialog* want = kind == "yiq" ? &kYiq : kind == "rgb" ? &kRgb : kind == "hsv" ? &kHsv : nullptr;
    if (!want) {
        std::fprintf(stderr, "check_resources: unknown filter %s\n", argv[2]);
        return 2;
    }
    Bytes file, ico;
    if (!readFile(argv[1], file)) {
        std::printf("FAIL cannot read %s\n", argv[1]);
        return 1;
    }
    if (argc == 4 && !readFile(argv[3], ico)) {
        std::printf("FAIL cannot read %s\n", argv[3]);
        return 1;
    }
    const Resources res(file);
    checkDialog(file, res, *want);
    checkIcons(file, res, argc == 4 ? &ico : nullptr);
    if (failures == 0) std::printf("%s: dialog 101 and icon group 102 ok\n", argv[1]);
    return failures == 0 ? 0 : 1;
}
