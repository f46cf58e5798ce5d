// GIF89a with a global colour table, plain LZW and the looping extension.
#include "gif.h"

#include <map>
#include <unordered_map>

namespace {

void put16(Bytes& b, int v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

struct BitWriter {
    Bytes bytes;
    uint32_t acc = 0;
    int count = 0;
    void put(int code, int bits) {
        acc |= uint32_t(code) << count;
        count += bits;
        while (count >= 8) {
            bytes.push_back(uint8_t(acc));
            acc >>= 8;
            count -= 8;
        }
    }
    void flush() {
        if (count > 0) bytes.push_back(uint8_t(acc));
        acc = 0, count = 0;
    }
};

constexpr int min_code_size = 8;
constexpr int clear_code = 256, end_code = 257, first_free = 258;
constexpr int max_code = 4095;  // 12-bit codes at most; the table restarts there

// LZW over 8-bit pixel indices: the table maps (prefix code, next index) to a code.
Bytes lzw_encode(const std::vector<uint8_t>& indices) {
    BitWriter w;
    std::unordered_map<uint32_t, int> table;
    int next = first_free, bits = min_code_size + 1;
    w.put(clear_code, bits);
    int prefix = -1;
    for (uint8_t p : indices) {
        if (prefix < 0) {
            prefix = p;
            continue;
        }
        uint32_t key = uint32_t(prefix) << 8 | p;
        auto it = table.find(key);
        if (it != table.end()) {
            prefix = it->second;
            continue;
        }
        w.put(prefix, bits);
        if (next <= max_code) {
            table.emplace(key, next);
            // The decoder widens its codes once the table reaches the current width.
            if (next == (1 << bits) && bits < 12) ++bits;
            ++next;
        } else {
            w.put(clear_code, bits);
            table.clear();
            next = first_free, bits = min_code_size + 1;
        }
        prefix = p;
    }
    if (prefix >= 0) w.put(prefix, bits);
    w.put(end_code, bits);
    w.flush();
    return w.bytes;
}

}  // namespace

bool write_gif(const std::string& path, const std::vector<GifFrame>& frames) {
    if (frames.empty()) return false;
    int width = frames[0].image.width, height = frames[0].image.height;
    std::map<uint32_t, uint8_t> index_of;
    std::vector<Rgb> table;
    std::vector<std::vector<uint8_t>> indexed;
    for (const GifFrame& f : frames) {
        if (f.image.width != width || f.image.height != height) return false;
        std::vector<uint8_t> ix;
        ix.reserve(f.image.pixels.size());
        for (Rgb c : f.image.pixels) {
            uint32_t key = uint32_t(c.r) << 16 | c.g << 8 | c.b;
            auto it = index_of.find(key);
            if (it == index_of.end()) {
                if (table.size() == 256) return false;
                it = index_of.emplace(key, uint8_t(table.size())).first;
                table.push_back(c);
            }
            ix.push_back(it->second);
        }
        indexed.push_back(std::move(ix));
    }
    table.resize(256, Rgb{0, 0, 0});

    Bytes g = {'G', 'I', 'F', '8', '9', 'a'};
    put16(g, width);
    put16(g, height);
    g.insert(g.end(), {0xF7, 0, 0});  // global table of 256 entries, 8 bits per colour
    for (Rgb c : table) g.insert(g.end(), {c.r, c.g, c.b});
    const char loop[] = "NETSCAPE2.0";
    g.insert(g.end(), {0x21, 0xFF, 11});
    g.insert(g.end(), loop, loop + 11);
    g.insert(g.end(), {3, 1, 0, 0, 0});  // loop forever
    for (size_t k = 0; k < frames.size(); ++k) {
        g.insert(g.end(), {0x21, 0xF9, 4, 0x04});  // graphic control: keep the frame
        put16(g, frames[k].delay_cs);
        g.insert(g.end(), {0, 0});
        g.push_back(0x2C);
        put16(g, 0), put16(g, 0), put16(g, width), put16(g, height);
        g.push_back(0);
        g.push_back(min_code_size);
        Bytes data = lzw_encode(indexed[k]);
        for (size_t at = 0; at < data.size(); at += 255) {
            size_t n = std::min<size_t>(255, data.size() - at);
            g.push_back(uint8_t(n));
            g.insert(g.end(), data.begin() + at, data.begin() + at + n);
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return write_file(path, g);
}
