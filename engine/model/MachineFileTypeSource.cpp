#include "engine/model/MachineFileTypeSource.h"

namespace keldrin {

CMachineFileTypeSource::CMachineFileTypeSource(const std::string& folder) {
    loaded_ = types_.Load(folder);
}

int CMachineFileTypeSource::GetKey(uint32_t index, std::string& name) {
    const auto& keys = types_.GetKeys();
    if (index >= keys.size()) return kFileTypeKeyEnd;
    name = keys[index];
    return kFileTypeKeyOk;
}

std::string CMachineFileTypeSource::GetTypeName(const std::string& key) {
    return types_.GetTypeName(key);
}

}  // namespace keldrin
