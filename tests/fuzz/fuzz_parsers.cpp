// libFuzzer target for the list parsers: the input is split at its first byte into a
// parser choice and a table string, which every parser must take without overrunning a
// buffer, and whose failures must leave a bounded "** ERROR : " message.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "parse.h"
#include "seams.h"

void error_box(const char*) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (text.find('\0') != std::string::npos) return 0;
    char message[compile_message_size + 8];
    memset(message, 0x5A, sizeof message);
    message[0] = '\0';
    int32_t count = 0;
    int failed = 0;
    switch (data[0] % 4) {
        case 0: {
            FrameRef* frames = nullptr;
            failed = parse_frame_list(text.c_str(), 1, FrameSet::about, &count, &frames,
                                      message) != FrameListResult::ok;
            engine_free(frames);
            break;
        }
        case 1: {
            NextEntry* next = nullptr;
            failed = parse_next_list(text.c_str(), 0, message, &count, &next);
            for (int32_t i = 0; !failed && i < count; ++i)
                if (next[i].ratio <= 0 || next[i].action < 1) abort();
            engine_free(next);
            break;
        }
        case 2: {
            DislikeEntry* dislikes = nullptr;
            failed = parse_dislike_list(text.c_str(), 0, message, &count, &dislikes);
            engine_free(dislikes);
            break;
        }
        default:
            parse_step_value(text.c_str(), 512);
            parse_action_ref(text.c_str());
            parse_tenfold(text.c_str());
            break;
    }
    if (failed && strncmp(message, "** ERROR : ", 11) != 0) abort();
    for (size_t i = compile_message_size; i < sizeof message; ++i)
        if (message[i] != 0x5A) abort();
    if (live_allocations != 0) abort();
    return 0;
}
