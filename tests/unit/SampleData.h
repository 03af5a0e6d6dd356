#pragma once
#include <filesystem>

namespace vem::test {

// The repository's data folder: the sample project, its template and the language files.
inline const std::filesystem::path SampleDataFolder =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data";

}  // namespace vem::test
