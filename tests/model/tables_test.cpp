#include "model/tables.h"

#include <gtest/gtest.h>

#include <functional>

#include "model/section_model.h"

using namespace qav;

TEST(Tables, RowsAreSlotsOneToTheCountAndACountBeyondTheStorageIsCaught) {
    struct Case {
        std::size_t size;
        int32_t count;
        bool fits;
    };
    const Case cases[] = {{0, 0, true},  {1, 0, true},   {4, 3, true},  {4, 4, false},
                          {0, 1, false}, {4, -1, false}, {10, 2, true}, {2, 5, false}};
    for (const Case& c : cases) {
        std::vector<int> table(c.size);
        for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int>(i);
        if (!c.fits) {
            EXPECT_THROW(rows(table, c.count), InternalError) << c.size << " " << c.count;
            continue;
        }
        const auto used = rows(table, c.count);
        ASSERT_EQ(used.size(), static_cast<std::size_t>(c.count));
        for (const int& v : used) EXPECT_EQ(rowNumber(used, v), v) << "slot k is row k";
    }
}

TEST(Tables, CheckTablesNamesTheTableWhoseCountExceedsIt) {
    const std::pair<const char*, std::function<void(SectionModel&)>> faults[] = {
        {"BAR",
         [](SectionModel& m) { m.document.NBAR = static_cast<int32_t>(m.document.BAR.size()); }},
        {"FIB", [](SectionModel& m) { m.mesh.NFIB = 3; }},
        {"FORCE", [](SectionModel& m) { m.document.NFORCE = -1; }},
        {"CONC_PT", [](SectionModel& m) { m.document.NCONC_PT = 2; }},
        {"STEEL_SEC[1]",
         [](SectionModel& m) {
             resizeTable(m.document.STEEL_SEC, 2);
             m.document.NSTEEL_SEC = 1;
             m.document.STEEL_SEC[1].NPOINT = 4;
         }},
    };
    SectionModel fresh;
    EXPECT_NO_THROW(checkTables(fresh));
    for (const auto& [table, fault] : faults) {
        SectionModel m;
        fault(m);
        try {
            checkTables(m);
            ADD_FAILURE() << table << " not caught";
        } catch (const InternalError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string(" ") + table + " "), std::string::npos)
                << e.what();
        }
    }
}
