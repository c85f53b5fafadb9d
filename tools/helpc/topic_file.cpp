#include "tools/helpc/topic_file.h"

#include <stdexcept>
#include <vector>

namespace helpc {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::uint8_t kTopicHeaderRecord = 0x02;
constexpr std::uint8_t kDisplayRecord = 0x20;
constexpr std::uint32_t kLinkHeader = 21;

// Paragraph attribute bits of a display record.
constexpr unsigned kSpaceAbove = 0x0002;

// Formatting commands between the text strings of a display record.
constexpr std::uint8_t kFontChange = 0x80;
constexpr std::uint8_t kEndOfParagraph = 0x82;
constexpr std::uint8_t kEndOfCommands = 0xFF;

struct Record {
    std::uint8_t type = 0;
    Bytes data1;                   // after the 21-byte header
    Bytes data2;                   // text
    std::uint32_t characters = 0;  // counted for topic offsets (display records)
    std::size_t topic = 0;
    std::uint32_t position = 0;  // topic position, set by the layout
    std::uint32_t block = 0;
    std::uint32_t offsetInBlock = 0;
    std::uint32_t size() const {
        return kLinkHeader + static_cast<std::uint32_t>(data1.size() + data2.size());
    }
};

// One paragraph: an empty string before the font change, the text before the end of the
// paragraph, and an empty string before the end of the commands, so that strings and commands
// pair up one to one as the viewer reads them.
Record displayRecord(const std::string& text, unsigned font, bool spaceAbove) {
    Record record;
    record.type = kDisplayRecord;
    ByteWriter text2;
    text2.stringz("");
    text2.stringz(text);
    text2.stringz("");
    record.data2 = text2.bytes;
    record.characters = static_cast<std::uint32_t>(text.size()) + 1;  // the text and its end

    ByteWriter data;
    data.compressedLong(static_cast<std::uint32_t>(record.data2.size()));
    data.compressedUShort(record.characters);
    // Four bytes that the viewer skips before the paragraph's attributes (two flag bytes and
    // a paragraph id in the public descriptions of the format; no reader relies on them).
    data.u8(0x00);
    data.u8(0x80);
    data.u16(0);
    data.u16(spaceAbove ? kSpaceAbove : 0);
    if (spaceAbove) data.compressedShort(6);
    data.u8(kFontChange);
    data.u16(font);
    data.u8(kEndOfParagraph);
    data.u8(kEndOfCommands);
    record.data1 = data.bytes;
    return record;
}

struct TopicRecords {
    std::size_t header = 0;     // index of the topic header record
    std::size_t titlePara = 0;  // index of the title paragraph, when the topic has one
    bool hasTitlePara = false;
    std::size_t firstBody = 0;
    std::size_t end = 0;  // one past the topic's last record
};

}  // namespace

TopicFile buildTopicFile(const HelpDocument& document) {
    std::vector<Record> records;
    std::vector<TopicRecords> topics;
    for (std::size_t t = 0; t < document.topics.size(); ++t) {
        const HelpTopic& topic = document.topics[t];
        TopicRecords r;
        r.header = records.size();
        Record header;
        header.type = kTopicHeaderRecord;
        header.topic = t;
        if (!topic.title.empty()) {
            ByteWriter title;
            title.stringz(topic.title);
            header.data2 = title.bytes;
        }
        header.data1.resize(28);  // filled once the positions are known
        records.push_back(header);
        if (topic.kind == ContextKind::Topic) {
            // The title heads the topic in its non-scrolling region.
            r.hasTitlePara = true;
            r.titlePara = records.size();
            records.push_back(displayRecord(topic.title, kTitleFont, false));
            records.back().topic = t;
        }
        r.firstBody = records.size();
        for (std::size_t p = 0; p < topic.paragraphs.size(); ++p) {
            records.push_back(
                displayRecord(topic.paragraphs[p], kBodyFont, p > 0 || r.hasTitlePara));
            records.back().topic = t;
        }
        r.end = records.size();
        topics.push_back(r);
    }

    // Layout: positions, blocks, topic offsets.
    TopicFile result;
    std::uint32_t block = 0, offset = kTopicBlockHeader, characters = 0;
    std::vector<std::uint32_t> topicOffsetOf(document.topics.size());
    for (Record& record : records) {
        if (record.size() > kTopicBlockSize - kTopicBlockHeader)
            throw std::length_error("a topic record does not fit one topic block");
        if (offset + record.size() > kTopicBlockSize) {
            ++block;
            offset = kTopicBlockHeader;
            characters = 0;
        }
        record.block = block;
        record.offsetInBlock = offset;
        record.position = block * 0x4000 + offset;
        if (record.type == kTopicHeaderRecord)
            topicOffsetOf[record.topic] = block * 0x8000 + characters;
        characters += record.characters;
        offset += record.size();
    }
    std::uint32_t blocks = block + 1;

    // Topic headers: total size, no browse sequence, number, regions and the next topic.
    for (std::size_t t = 0; t < topics.size(); ++t) {
        const TopicRecords& r = topics[t];
        std::uint32_t total = 0;
        for (std::size_t i = r.header; i < r.end; ++i) total += records[i].size();
        ByteWriter header;
        header.u32(total);
        header.u32(kNone);  // browse backward
        header.u32(kNone);  // browse forward
        header.u32(static_cast<std::uint32_t>(t));
        header.u32(r.hasTitlePara ? records[r.titlePara].position : kNone);
        header.u32(records[r.firstBody].position);
        header.u32(t + 1 < topics.size() ? records[topics[t + 1].header].position : kNone);
        records[r.header].data1 = header.bytes;
        result.topicOffsets[document.topics[t].context] = topicOffsetOf[t];
    }

    Bytes out(blocks * kTopicBlockSize, 0);
    auto put32 = [&out](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    // Block headers: the last record before the block, the block's first record, and the topic
    // header of the topic that is current where the block starts.
    for (std::uint32_t b = 0; b < blocks; ++b) {
        std::uint32_t lastBefore = kNone, first = kNone, lastHeader = kNone;
        for (const Record& record : records) {
            if (record.block < b) {
                lastBefore = record.position;
                if (record.type == kTopicHeaderRecord) lastHeader = record.position;
            } else if (record.block == b && first == kNone) {
                first = record.position;
            }
        }
        put32(b * kTopicBlockSize + 0, lastBefore);
        put32(b * kTopicBlockSize + 4, first);
        put32(b * kTopicBlockSize + 8, lastHeader);
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& record = records[i];
        ByteWriter link;
        link.u32(record.size());
        link.u32(static_cast<std::uint32_t>(record.data2.size()));
        link.u32(i > 0 ? records[i - 1].position : kNone);
        link.u32(i + 1 < records.size() ? records[i + 1].position : kNone);
        link.u32(kLinkHeader + static_cast<std::uint32_t>(record.data1.size()));
        link.u8(record.type);
        link.append(record.data1);
        link.append(record.data2);
        std::size_t at = record.block * kTopicBlockSize + record.offsetInBlock;
        std::copy(link.bytes.begin(), link.bytes.end(), out.begin() + static_cast<long>(at));
    }
    result.contents = out;
    return result;
}

}  // namespace helpc
