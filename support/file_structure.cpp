#include "support/file_structure.h"

#include <algorithm>

#include "support/cursor_builders.h"

namespace {

const size_t CHUNK_HEADER = 8;

class Describer {
public:
    explicit Describer(const std::string& bytes) : bytes_(bytes) {}

    FileStructure run() {
        if (bytes_.size() >= 12 && bytes_.compare(0, 4, "RIFF") == 0) {
            mark(0);
            mark(4);
            mark(8);
            mark(12);
            size_t declared = get32(bytes_, 4);
            layout_.lengths.push_back({4, bytes_.size() - CHUNK_HEADER});
            walk_chunks(12, std::min(bytes_.size(), CHUNK_HEADER + declared), false);
        } else {
            icon_directory(0, bytes_.size());
        }
        std::vector<size_t>& marks = layout_.boundaries;
        std::sort(marks.begin(), marks.end());
        marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
        return layout_;
    }

private:
    void mark(size_t offset) {
        if (offset > 0 && offset < bytes_.size())
            layout_.boundaries.push_back(offset);
    }

    bool is(size_t offset, const char* id) const {
        return offset + 4 <= bytes_.size() && bytes_.compare(offset, 4, id) == 0;
    }

    void walk_chunks(size_t start, size_t end, bool frames) {
        size_t position = start;
        while (position + CHUNK_HEADER <= end) {
            size_t length = get32(bytes_, position + 4);
            size_t room = end - position - CHUNK_HEADER;
            mark(position);
            mark(position + CHUNK_HEADER);
            layout_.lengths.push_back({position + 4, room});
            if (length > room)
                return;
            size_t data = position + CHUNK_HEADER;
            if (is(position, "anih"))
                layout_.anih.push_back(data);
            if (is(position, "LIST") && length >= 4) {
                mark(data + 4);
                walk_chunks(data + 4, data + length, is(data, "fram"));
            }
            if (frames && is(position, "icon"))
                icon_directory(data, length);
            mark(data + length);
            // Frames follow each other unpadded; other chunks are padded.
            position = data + length + (frames ? 0 : (length & 1));
            mark(position);
        }
    }

    void icon_directory(size_t start, size_t size) {
        if (size < 6)
            return;
        layout_.icon_dirs.push_back(start);
        mark(start + 2);
        mark(start + 4);
        mark(start + 6);
        size_t count = bytes_[start + 4] & 0xff;
        for (size_t i = 0; i < count && 6 + 16 * (i + 1) <= size; ++i) {
            size_t entry = start + 6 + 16 * i;
            layout_.dir_entries.push_back(entry);
            mark(entry + 16);
            size_t image_size = get32(bytes_, entry + 8), offset = get32(bytes_, entry + 12);
            if (offset > size || image_size > size - offset)
                continue;
            image(start + offset, image_size);
        }
    }

    void image(size_t start, size_t size) {
        mark(start);
        mark(start + size);
        if (size < 40 || get32(bytes_, start) != 40) {
            if (size >= 8 && is(start, "\x89PNG"))
                for (size_t offset = 8; offset + 8 <= size;) {
                    mark(start + offset);
                    size_t length = (static_cast<size_t>(static_cast<unsigned char>(bytes_[start + offset])) << 24) |
                                    (static_cast<unsigned char>(bytes_[start + offset + 1]) << 16) |
                                    (static_cast<unsigned char>(bytes_[start + offset + 2]) << 8) |
                                    static_cast<unsigned char>(bytes_[start + offset + 3]);
                    offset += 12 + length;
                }
            return;
        }
        layout_.bitmap_headers.push_back(start);
        mark(start + 40);
        size_t width = get32(bytes_, start + 4), height = get32(bytes_, start + 8) / 2;
        size_t bits = (bytes_[start + 14] & 0xff), colours = get32(bytes_, start + 32);
        if (!colours && bits <= 8)
            colours = size_t(1) << bits;
        if (width > 4096 || height > 4096 || colours > 256)
            return;
        size_t table_end = start + 40 + 4 * colours;
        size_t colour_end = table_end + ((width * bits + 31) / 32) * 4 * height;
        mark(table_end);
        mark(colour_end);
        mark(colour_end + ((width + 31) / 32) * 4 * height);
    }

    const std::string& bytes_;
    FileStructure layout_;
};

}  // namespace

FileStructure describe_file_structure(const std::string& bytes) { return Describer(bytes).run(); }
