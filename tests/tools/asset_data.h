// Access to the committed asset files for the checks.
#pragma once

#include "common/byte_io.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::assetgen {

inline Bytes committed_asset(const std::string& name)
{
    const auto bytes = read_file(std::string(VANTREL_ASSET_DATA) + "/" + name);
    EXPECT_TRUE(bytes.has_value()) << "assets/data/" << name << " is missing";
    return bytes.value_or(Bytes{});
}

}  // namespace vantrel::assetgen
