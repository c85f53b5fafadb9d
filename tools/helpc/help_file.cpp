#include "tools/helpc/help_file.h"

#include <algorithm>
#include <map>
#include <vector>

#include "tools/helpc/btree.h"
#include "tools/helpc/context_hash.h"
#include "tools/helpc/file_system.h"
#include "tools/helpc/topic_file.h"

namespace helpc {

namespace {

constexpr unsigned kWinHelp4Minor = 33;
constexpr unsigned kAnsiCharset = 0;

void systemRecord(ByteWriter& out, unsigned type, const Bytes& data) {
    out.u16(type);
    out.u16(static_cast<unsigned>(data.size()));
    out.append(data);
}

Bytes systemFile(const HelpDocument& document, std::uint32_t contentsOffset,
                 std::uint32_t generated) {
    ByteWriter out;
    out.u16(0x036C);  // magic
    out.u16(kWinHelp4Minor);
    out.u16(1);  // major version
    out.u32(generated);
    out.u16(0);  // flags: topic blocks of 4 KB, not compressed
    ByteWriter title;
    title.stringz(document.title);
    systemRecord(out, 1, title.bytes);
    if (!document.copyright.empty()) {
        ByteWriter copyright;
        copyright.stringz(document.copyright);
        systemRecord(out, 2, copyright.bytes);
    }
    ByteWriter contents;
    contents.u32(contentsOffset);
    systemRecord(out, 3, contents.bytes);
    ByteWriter charset;
    charset.u16(kAnsiCharset);  // Windows-1252 text
    systemRecord(out, 11, charset.bytes);
    return out.bytes;
}

// Two fonts in the classic layout (face names of 32 bytes, 11-byte descriptors): the body in
// Arial 10 point, the topic titles in Arial 12 point bold.
Bytes fontFile() {
    constexpr unsigned kFaceLength = 32;
    constexpr unsigned kSwiss = 3;
    ByteWriter out;
    out.u16(1);  // face names
    out.u16(2);  // descriptors
    out.u16(8);  // face names start after this 8-byte header
    out.u16(8 + kFaceLength);
    out.fixedString("Arial", kFaceLength);
    struct Font {
        unsigned attributes, halfPoints;
    };
    Font fonts[2];
    fonts[kBodyFont] = {0, 20};
    fonts[kTitleFont] = {1, 24};  // bold
    for (const Font& font : fonts) {
        out.u8(font.attributes);
        out.u8(font.halfPoints);
        out.u8(kSwiss);
        out.u16(0);  // face name 0
        out.u8(0);   // text colour: black
        out.u8(0);
        out.u8(0);
        out.u8(0xFF);  // background: white
        out.u8(0xFF);
        out.u8(0xFF);
    }
    return out.bytes;
}

Bytes contextMapFile(const std::map<std::uint32_t, std::uint32_t>& topicOffsets) {
    ByteWriter out;
    out.u16(static_cast<unsigned>(topicOffsets.size()));
    for (const auto& [number, offset] : topicOffsets) {  // ascending context numbers
        out.u32(number);
        out.u32(offset);
    }
    return out.bytes;
}

Bytes contextFile(const HelpDocument& document,
                  const std::map<std::uint32_t, std::uint32_t>& topicOffsets) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> byHash;
    for (const HelpTopic& topic : document.topics)
        byHash.emplace_back(contextHash(topic.name), topicOffsets.at(topic.context));
    // The viewer compares the hashes as signed numbers.
    std::sort(byHash.begin(), byHash.end());
    std::vector<Bytes> entries;
    for (const auto& [hash, offset] : byHash) {
        ByteWriter entry;
        entry.u32(static_cast<std::uint32_t>(hash));
        entry.u32(offset);
        entries.push_back(entry.bytes);
    }
    return buildSingleLeafBTree({0x0002, 2048, "L4"}, entries);
}

}  // namespace

Bytes buildHelpFile(const HelpDocument& document, std::uint32_t generated) {
    TopicFile topics = buildTopicFile(document);
    std::map<std::string, Bytes> files;
    files["|SYSTEM"] = systemFile(document, topics.topicOffsets.at(document.contents), generated);
    files["|TOPIC"] = topics.contents;
    files["|FONT"] = fontFile();
    files["|CTXOMAP"] = contextMapFile(topics.topicOffsets);
    files["|CONTEXT"] = contextFile(document, topics.topicOffsets);
    return buildFileSystem(files);
}

}  // namespace helpc
