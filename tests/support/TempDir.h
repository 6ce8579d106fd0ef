// A folder of a test's own that goes away with everything in it, and the files the tests write and read.
#pragma once

#include <string>

namespace testing_support {

class TempDir {
  public:
    // Inside: the working directory is the folder until it goes, so the game's relative paths look there.
    enum Where { Beside, Inside };

    explicit TempDir(Where where = Beside);
    ~TempDir(); // back to the old working directory first, then the folder is removed
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return folder; }
    std::string file(const std::string& name) const { return folder + "/" + name; }

  private:
    std::string folder;
    std::string previous; // the working directory to return to; empty when the test stays where it is
};

// A whole file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);
// Writes the bytes, making the folders on the way.
void writeFile(const std::string& path, const std::string& bytes);

} // namespace testing_support
