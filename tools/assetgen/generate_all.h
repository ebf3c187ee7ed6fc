// The catalogue of generated assets: every file of assets/data by name.
#pragma once

#include "common/byte_io.h"

#include <string>
#include <vector>

namespace vantrel::assetgen {

// "sound1.wav" … "sound8.wav", "wing2.png", "spark.png", "island.png",
// "tarnfont.bin".
const std::vector<std::string>& asset_names();

// The file's bytes; throws std::invalid_argument for an unknown name.
Bytes generate_asset(const std::string& name);

}  // namespace vantrel::assetgen
