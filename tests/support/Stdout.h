// What a piece of game code prints: the console lines are part of what the game shows its player.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

template <class Code> std::string stdoutOf(Code code) {
    testing::internal::CaptureStdout();
    code();
    return testing::internal::GetCapturedStdout();
}

} // namespace testing_support
