// The catalogue of generated assets: every file of assets/data and
// assets/icons by name.
#pragma once

#include "common/byte_io.h"

#include <string>
#include <vector>

namespace vantrel::assetgen {

// "sound1.wav" … "sound8.wav", "wing2.png", "spark.png", "island.png",
// "tarnfont.bin".
const std::vector<std::string>& asset_names();

// The application icon's sizes, 16 to 256 pixels, and their file names
// ("vantrel-16.png" …, then "vantrel.ico" with all of them for the Windows
// program), which generate_asset also makes. They live in assets/icons,
// apart from the game's own assets.
inline constexpr const char* WINDOWS_ICON_NAME = "vantrel.ico";
const std::vector<int>& icon_sizes();
const std::vector<std::string>& icon_names();
std::string icon_name(int size);

// The file's bytes; throws std::invalid_argument for an unknown name.
Bytes generate_asset(const std::string& name);

}  // namespace vantrel::assetgen
