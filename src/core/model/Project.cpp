#include "model/Project.h"

namespace vem {

void Project::storeWorkingFields() {
    auto& stored = dataSets[activeDataSet].fields;
    for (int i = 0; i < DataFieldCount; ++i) stored[i] = fields[i];
}

void Project::loadWorkingFields(int d, bool withDescriptions) {
    const auto& stored = dataSets[d].fields;
    for (int i = 0; i < DataFieldCount; ++i) {
        std::string description = std::move(fields[i].description);
        fields[i] = stored[i];
        if (!withDescriptions) fields[i].description = std::move(description);
    }
}

}  // namespace vem
