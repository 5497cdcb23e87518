#include "host/handle_table.h"

#include <algorithm>
#include <vector>

namespace platform::detail {
namespace {

std::vector<HandleTableBase*>& Tables() {
    static std::vector<HandleTableBase*> tables;
    return tables;
}

}  // namespace

HandleTableBase::HandleTableBase() {
    Tables().push_back(this);
}

HandleTableBase::~HandleTableBase() {
    auto& tables = Tables();
    tables.erase(std::remove(tables.begin(), tables.end(), this), tables.end());
}

void ResetHandleTables() {
    for (HandleTableBase* table : Tables()) table->Clear();
}

}  // namespace platform::detail
