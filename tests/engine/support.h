// Shared fixture of the engine tests: records every message box, resets the process-wide
// values, and builds editable copies of the built-in tables for tests that change a row.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "parse.h"
#include "seams.h"

// Every text passed to error_box, in order.
extern std::vector<std::string> boxes;

// Columns of ActionTables, in their order there.
enum Column {
    col_frames, col_next, col_x_step, col_y_step, col_x_bound, col_y_bound, col_x_reach,
    col_y_reach, col_same_ratio, col_dislikes, col_grab, col_release, column_count
};

// An editable copy of a table set. Built from the built-in tables, or blank with n
// actions (every cell empty) for tests that write a small table of their own.
struct TableCopy {
    std::vector<std::string> cells[column_count];
    std::vector<std::string> about;
    std::vector<const char*> pointers[column_count];
    std::vector<const char*> about_pointers;
    ActionTables tables{};

    TableCopy();
    explicit TableCopy(int action_count, int about_count = 1);
    // Action numbers are 1-based, as in the tables; about rows too.
    TableCopy& set(Column column, int action, const std::string& text);
    TableCopy& set_about(int row, const std::string& text);
    const ActionTables& get();
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Initialises from the given tables on the current geometry with a fixed seed.
    int start(const ActionTables& tables = builtin_tables, int64_t seed = 1);
};

// The draws that the generator will make from a given seed: used to predict selections.
std::vector<int32_t> random_values(uint32_t seed, int count);

// A seed whose first draw is the given value, to steer the next selection.
uint32_t seed_giving(int32_t value);
