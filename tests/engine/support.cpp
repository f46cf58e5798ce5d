#include "support.h"

std::vector<std::string> boxes;

void error_box(const char* text) { boxes.emplace_back(text); }

namespace {

const char* const* builtin_column(Column c) {
    const ActionTables& t = builtin_tables;
    const char* const* columns[column_count] = {
        t.frames, t.next_actions, t.x_step, t.y_step, t.x_bound, t.y_bound,
        t.x_reach, t.y_reach, t.same_ratio, t.dislikes, t.grab_action, t.release_action};
    return columns[c];
}

}  // namespace

TableCopy::TableCopy() {
    for (int c = 0; c < column_count; ++c)
        for (int i = 0; i < builtin_tables.action_count; ++i)
            cells[c].emplace_back(builtin_column(static_cast<Column>(c))[i]);
    for (int j = 0; j < builtin_tables.about_action_count; ++j)
        about.emplace_back(builtin_tables.about_frames[j]);
}

TableCopy::TableCopy(int action_count, int about_count) {
    for (auto& column : cells) column.assign(action_count, "");
    about.assign(about_count, "1");
}

TableCopy& TableCopy::set(Column column, int action, const std::string& text) {
    cells[column].at(action - 1) = text;
    return *this;
}

TableCopy& TableCopy::set_about(int row, const std::string& text) {
    about.at(row - 1) = text;
    return *this;
}

const ActionTables& TableCopy::get() {
    for (int c = 0; c < column_count; ++c) {
        pointers[c].clear();
        for (auto& s : cells[c]) pointers[c].push_back(s.c_str());
    }
    about_pointers.clear();
    for (auto& s : about) about_pointers.push_back(s.c_str());
    tables.action_count = static_cast<int32_t>(cells[0].size());
    tables.frames = pointers[col_frames].data();
    tables.next_actions = pointers[col_next].data();
    tables.x_step = pointers[col_x_step].data();
    tables.y_step = pointers[col_y_step].data();
    tables.x_bound = pointers[col_x_bound].data();
    tables.y_bound = pointers[col_y_bound].data();
    tables.x_reach = pointers[col_x_reach].data();
    tables.y_reach = pointers[col_y_reach].data();
    tables.same_ratio = pointers[col_same_ratio].data();
    tables.dislikes = pointers[col_dislikes].data();
    tables.grab_action = pointers[col_grab].data();
    tables.release_action = pointers[col_release].data();
    tables.about_action_count = static_cast<int32_t>(about.size());
    tables.about_frames = about_pointers.data();
    return tables;
}

void EngineTest::SetUp() {
    boxes.clear();
    free_engine();
    screen_width = 1024;
    screen_height = 768;
    frame_width = 50;
    frame_height = 50;
    margin_top = margin_left = margin_bottom = margin_right = 0;
    timer_interval = 150;
    window_x = window_y = 0;
    alloc_fail_countdown = 0;
    engine_seed = -1;
}

void EngineTest::TearDown() {
    free_engine();
    alloc_fail_countdown = 0;
    EXPECT_EQ(live_allocations, 0) << "the engine left blocks allocated";
}

int EngineTest::start(const ActionTables& tables, int64_t seed) {
    engine_seed = seed;
    return init_engine_from(tables);
}

std::vector<int32_t> random_values(uint32_t seed, int count) {
    seed_random(seed);
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(next_random());
    return values;
}

uint32_t seed_giving(int32_t value) {
    for (uint32_t seed = 0;; ++seed) {
        seed_random(seed);
        if (next_random() == value) return seed;
    }
}
