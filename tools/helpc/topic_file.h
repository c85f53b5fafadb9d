// |TOPIC: the text of every topic as a chain of records in 4 KB blocks, uncompressed.
//
// Each block starts with a 12-byte header; records (topic links) follow. A topic is a topic
// header record (title, pointers to its regions and to the next topic) and one display record
// per paragraph. A record never crosses into the next block: when it does not fit, the chain
// continues at the start of the next block. Positions inside the file are "topic positions"
// (block * 0x4000 + offset in the block); the topics are found through "topic offsets" (block
// * 0x8000 + number of text characters of the records that start earlier in that block),
// which |CTXOMAP, |CONTEXT and the contents record of |SYSTEM store.
#pragma once

#include <cstdint>
#include <map>

#include "tools/helpc/byte_writer.h"
#include "tools/helpc/help_document.h"

namespace helpc {

constexpr std::uint32_t kTopicBlockSize = 4096;
constexpr std::uint32_t kTopicBlockHeader = 12;

// Fonts of the |FONT file that the paragraphs use.
constexpr unsigned kBodyFont = 0;
constexpr unsigned kTitleFont = 1;

struct TopicFile {
    Bytes contents;
    std::map<std::uint32_t, std::uint32_t> topicOffsets;  // context number -> topic offset
};

TopicFile buildTopicFile(const HelpDocument& document);

}  // namespace helpc
