// Helpers for tests written against the platform interface only, so they run
// on the host platform and on Windows alike. Each reports the failing call
// and its Status; wrap it in ASSERT_TRUE / EXPECT_TRUE to get the caller's
// line.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace hw::test {

// `size` bytes that differ from block to block and from seed to seed, so a
// misplaced or repeated block shows in a comparison.
std::string patternBytes(std::size_t size, std::uint32_t seed = 1);

// create, write in blocks of `block` bytes, close.
testing::AssertionResult writeWholeFile(FileSystem& files, const std::string& path,
                                        const std::string& bytes, std::uint32_t block = 65536);
// openRead, read to the end, close.
testing::AssertionResult readWholeFile(FileSystem& files, const std::string& path,
                                       std::string& bytes);
// The whole content of a file, or "<missing>" / "<read error>", for
// comparisons whose failure message should say which.
std::string contentOf(FileSystem& files, const std::string& path);
// The whole listing of a findFirst pattern, in the platform's order.
testing::AssertionResult listAll(FileSystem& files, const std::string& pattern,
                                 std::vector<FindData>& entries);

std::string statusText(Status status);

}  // namespace hw::test
