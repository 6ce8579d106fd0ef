// The installed launcher, started the ways a shell and a desktop start it: whichever way, the program runs in
// the data folder, where it finds images/, fonts/ and sounds/.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

// What a shell command prints, and whether it succeeded.
std::string outputOf(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

} // namespace

TEST(Launcher, StartsTheProgramInTheDataFolderFromAShellADesktopALinkAndARelativePath) {
    TempDir temp;
    // A prefix with a space in it, installed from this build folder by its own install rules.
    const std::string prefix = temp.file("my games");
    int status = -1;
    const std::string log = outputOf("cmake --install . --prefix " + quoted(prefix) + " 2>&1", status);
    ASSERT_EQ(status, 0) << log;

    // The program is replaced by one that tells where it was started, so no window is needed.
    const std::string program = prefix + "/lib/games/gravimel/gravimel";
    writeFile(program, "#!/bin/sh\npwd -P\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::string data = std::filesystem::canonical(prefix + "/share/games/gravimel").string() + "\n";

    // The desktop starts what its entry's Exec line names, looked up on PATH, from the home folder.
    const std::string entry = readFile(prefix + "/share/applications/gravimel.desktop");
    std::smatch exec;
    ASSERT_TRUE(std::regex_search(entry, exec, std::regex("\nExec=([^\n]*)\n"))) << entry;

    // A link to the launcher elsewhere, as in ~/bin or /usr/local/bin.
    std::filesystem::create_directories(temp.file("bin"));
    std::filesystem::create_symlink(prefix + "/games/gravimel", temp.file("bin/gravimel"));
    std::filesystem::create_directories(temp.file("home"));

    const std::string path = "PATH=" + quoted(prefix + "/games") + ":\"$PATH\" ";
    const struct {
        const char* how;
        std::string command;
    } starts[] = {
        {"by name from a shell", "cd " + quoted(temp.file("home")) + " && " + path + "gravimel"},
        {"from the desktop entry", "cd " + quoted(temp.file("home")) + " && " + path + exec[1].str()},
        {"by its full path", "cd / && " + quoted(prefix + "/games/gravimel")},
        {"by a relative path", "cd " + quoted(temp.path()) + " && './my games/games/gravimel'"},
        {"through a link", "cd " + quoted(temp.file("home")) + " && ../bin/gravimel"},
    };
    for (const auto& start : starts) {
        status = -1;
        const std::string out = outputOf("(" + start.command + ") 2>&1", status);
        EXPECT_EQ(status, 0) << start.how << ": " << out;
        EXPECT_EQ(out, data) << start.how;
    }
}
