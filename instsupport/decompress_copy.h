// The setup script's copy of a possibly LZ-compressed file into a private temporary folder
// ("hvinst" in the user's temporary folder), expanded on the way.
#pragma once

namespace instsupport {

enum DecompressCopyResult {
    kDecompressCopied = 0,
    kDecompressNoTempFolder = 1,
    kDecompressSourceFailed = 2,
    kDecompressTargetFailed = 3,
    kDecompressCopyFailed = 4,
    kDecompressTempFolderMissing = 5,
    kDecompressSubFolderFailed = 6,
};

// Expands `sourcePath` into the "hvinst" folder under `targetName`; `targetPath` (260 bytes)
// receives the target's path, or "TMP_PATH" when no folder could be found.
int decompressCopyFile(const char* sourcePath, const char* targetName, char* targetPath);

}  // namespace instsupport
