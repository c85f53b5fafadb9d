#include "instsupport/decompress_copy.h"

#include <string>

#include "instsupport/text_buffer.h"
#include "platform/files.h"
#include "platform/lz_expand.h"
#include "platform/machine.h"
#include "platform/system.h"

namespace instsupport {
namespace {

constexpr char kPlaceholderPath[] = "TMP_PATH";
constexpr char kSubFolder[] = "hvinst";

// Closes an LZ handle when the copy is left early.
class LzFile {
  public:
    explicit LzFile(std::int32_t handle) : handle_(handle) {}
    ~LzFile() {
        if (handle_ >= 0) platform::machine().lz->LZClose(handle_);
    }
    LzFile(const LzFile&) = delete;
    LzFile& operator=(const LzFile&) = delete;
    std::int32_t get() const { return handle_; }
    bool valid() const { return handle_ >= 0; }

  private:
    std::int32_t handle_;
};

}  // namespace

int decompressCopyFile(const char* sourcePath, const char* targetName, char* targetPath) {
    copyToBuffer(targetPath, kPlaceholderPath);
    platform::Machine& m = platform::machine();

    char temp[261] = {};
    std::uint32_t length = m.system->GetTempPath(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return kDecompressNoTempFolder;
    std::string folder(temp, length);
    std::string bare = folder;
    if (bare.size() > 1 && (bare.back() == '\\' || bare.back() == '/')) bare.pop_back();
    std::uint32_t attributes = 0;
    if (m.files->GetFileAttributes(bare.c_str(), &attributes) != ERROR_SUCCESS ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kDecompressTempFolderMissing;

    if (folder.back() != '\\') folder += '\\';
    std::string subFolder = folder + kSubFolder;
    if (m.files->GetFileAttributes(subFolder.c_str(), &attributes) != ERROR_SUCCESS &&
        m.files->CreateDirectory(subFolder.c_str()) != ERROR_SUCCESS)
        return kDecompressSubFolderFailed;
    std::string target = subFolder + "\\" + (targetName ? targetName : "");
    copyToBuffer(targetPath, target);
    // A target path that does not fit the script's buffer would name another file there.
    if (target.size() >= kTextBufferSize) return kDecompressTargetFailed;

    if (m.lz == nullptr || sourcePath == nullptr) return kDecompressSourceFailed;
    LzFile source(m.lz->LZOpenFile(sourcePath, OF_READ));
    if (!source.valid()) return kDecompressSourceFailed;
    LzFile output(m.lz->LZOpenFile(target.c_str(), OF_CREATE));
    if (!output.valid()) return kDecompressTargetFailed;
    if (m.lz->LZCopy(source.get(), output.get()) < 0) return kDecompressCopyFailed;
    return kDecompressCopied;
}

}  // namespace instsupport
