#include "infengine/free_instance.h"

#include "platform/machine.h"
#include "platform/registry_key.h"
#include "platform/ui.h"

namespace infengine {
namespace {

constexpr std::size_t kDigits = 4;
constexpr unsigned kInstances = 10000;

bool exists(const std::string& key) {
    platform::RegKey opened;
    return opened.Open(HKEY_LOCAL_MACHINE, key.c_str(), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

// Adds one to the last four digits; true when they went round from 9999 to 0000.
bool increment(std::string* key) {
    for (std::size_t i = key->size(); i > key->size() - kDigits; --i) {
        char& digit = (*key)[i - 1];
        if (digit != '9') {
            ++digit;
            return false;
        }
        digit = '0';
    }
    return true;
}

}  // namespace

bool advanceToFreeInstance(std::string* key) {
    if (key->size() < kDigits) return false;
    for (std::size_t i = key->size() - kDigits; i < key->size(); ++i) {
        if ((*key)[i] < '0' || (*key)[i] > '9') return false;
    }
    for (unsigned steps = 0; exists(*key); ++steps) {
        if (steps == kInstances) return false;
        if (increment(key)) {
            platform::UserInterface* ui = platform::machine().ui;
            if (ui != nullptr) ui->MessageBox(0, "Loop back round enumeration", "", MB_OK);
        }
    }
    return true;
}

}  // namespace infengine
