// The command line that opens a help file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/portable/help_command.h"

namespace sorvel::dialog {
namespace {

TEST(HelpCommand, NotepadOnTheFileBesideTheHost) {
    const struct {
        const char* host;
        const char* help;
        const char* command;
    } cases[] = {
        {"C:\\App\\host.exe", "plugins\\sorvelYIQ.txt", "Notepad C:\\App\\plugins\\sorvelYIQ.txt"},
        {"C:\\App\\host.exe", "plugins\\sorvelRGB.txt", "Notepad C:\\App\\plugins\\sorvelRGB.txt"},
        {"D:\\Program Files\\VirtualDub\\VirtualDub.exe", "plugins\\sorvSV.txt",
         "Notepad D:\\Program Files\\VirtualDub\\plugins\\sorvSV.txt"},
        {"C:\\v.exe", "plugins\\sorvSV.txt", "Notepad C:\\plugins\\sorvSV.txt"},
    };
    for (const auto& c : cases) {
        const std::size_t offset = std::strrchr(c.host, '\\') + 1 - c.host;
        HelpCommand out;
        ASSERT_TRUE(buildHelpCommand(c.host, offset, c.help, out)) << c.host;
        EXPECT_STREQ(out.command, c.command);
        EXPECT_STREQ(out.path, c.command + 8);
    }
}

TEST(HelpCommand, TooLongForTheCommandLineStartsNothing) {
    const char* help = "plugins\\sorvelYIQ.txt";  // 21 characters
    // "Notepad " (8) + folder + help: 255 characters fit, 256 do not.
    for (std::size_t folder : {std::size_t{226}, std::size_t{227}, std::size_t{240}, std::size_t{300}}) {
        const std::string host = std::string(folder - 1, 'a') + "\\host.exe";
        HelpCommand out;
        std::memset(&out, 'x', sizeof out);
        const bool built = buildHelpCommand(host.c_str(), folder, help, out);
        EXPECT_EQ(built, folder + 21 + 8 <= 255) << folder;
        if (built) {
            EXPECT_EQ(std::strlen(out.command), 8 + folder + 21);
        } else {
            EXPECT_STREQ(out.command, "");
            EXPECT_STREQ(out.path, "");
        }
    }
}

TEST(HelpCommand, FileNameOffsetBeyondThePathIsRefused) {
    HelpCommand out;
    EXPECT_FALSE(buildHelpCommand("C:\\a.exe", 9, "plugins\\x.txt", out));
    EXPECT_TRUE(buildHelpCommand("C:\\a.exe", 8, "plugins\\x.txt", out));
}

}  // namespace
}  // namespace sorvel::dialog
