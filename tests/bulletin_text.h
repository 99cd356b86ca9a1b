#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// Small bulletin files for the station blend tests: twelve bulletins whose values tell
// where they came from, so a value read from the wrong bulletin, row or column shows.

/// One bulletin: its header and its rows, each a whole line starting with its label.
struct TestBulletin {
    std::string header;
    std::vector<std::string> rows;
};

inline constexpr const char* testStations[4] = {"KBKX", "KHON", "KMHE", "KFSD"};

/// The value a valid test file holds in column `column` (1 based) of the row with the
/// given offset (N/X, X/N 0; DPT 20; P12, P24 40; WDR 60; WSP, WND 80) of `bulletin` (0-11).
/// Short-range groups add 1000 (ETA) or 2000 (AVN); the MRF group stays below 1000.
inline int testValue(int bulletin, int rowOffset, int column) {
    const int group = bulletin / 4;
    return (group < 2 ? 1000 * (group + 1) : 0) + 100 * (bulletin % 4) + rowOffset + column;
}

/// The cloud word of a column: short-range words cycle CL, SC, BK, OV; extended-range
/// words cycle CL, PC, OV, each shifted by the station.
inline std::string testCloudWord(int bulletin, int column) {
    static const char* const shortRange[4] = {"CL", "SC", "BK", "OV"};
    static const char* const extended[3] = {"CL", "PC", "OV"};
    if (bulletin < 8) {
        return shortRange[(column + bulletin % 4) % 4];
    }
    return extended[(column + bulletin % 4) % 3];
}

inline std::string testHeader(const std::string& station, const std::string& model,
                              const std::string& date, const std::string& run) {
    return " " + station + "   " + model + " MOS GUIDANCE   " + date + "  " + run + " UTC";
}

/// A short-range row: the label and `count` values from column 1 on.
inline std::string testShortRow(const std::string& label, int bulletin, int rowOffset, int count) {
    std::string row = " " + label;
    for (int column = 1; column <= count; ++column) {
        row += " " + std::to_string(testValue(bulletin, rowOffset, column));
    }
    return row;
}

/// An extended-range row of fifteen columns, "|" attached after columns 1, 3, ..., 13.
inline std::string testExtendedRow(const std::string& label,
                                   const std::vector<std::string>& cells) {
    std::string row = " " + label;
    for (std::size_t column = 1; column <= cells.size(); ++column) {
        row += " " + cells[column - 1];
        if (column % 2 == 1 && column < 15) {
            row += "|";
        }
    }
    return row;
}

inline std::vector<std::string> testExtendedCells(int bulletin, int rowOffset) {
    std::vector<std::string> cells;
    for (int column = 1; column <= 15; ++column) {
        cells.push_back(std::to_string(testValue(bulletin, rowOffset, column)));
    }
    return cells;
}

/// The P24 row: column 1 blank, day d (1-7) in column 2d+1, valued testValue(b, 40, d).
inline std::string testP24Row(int bulletin) {
    std::string row = " P24    |";
    for (int day = 1; day <= 7; ++day) {
        row += " " + std::to_string(testValue(bulletin, 40, day)) + (day < 7 ? "|" : "");
    }
    return row;
}

/// Twelve valid bulletins of 12/08/2026: ETA, AVN and MRF groups of KBKX, KHON, KMHE, KFSD.
inline std::vector<TestBulletin> validTestBulletins() {
    std::vector<TestBulletin> bulletins;
    for (int bulletin = 0; bulletin < 12; ++bulletin) {
        const std::string station = testStations[bulletin % 4];
        TestBulletin b;
        if (bulletin < 8) {
            b.header = testHeader(station, bulletin < 4 ? "ETA" : "AVN", "12/08/2026", "1200");
            std::string clouds = " CLD";
            for (int column = 1; column <= 19; ++column) {
                clouds += " " + testCloudWord(bulletin, column);
            }
            b.rows = {testShortRow("N/X", bulletin, 0, 4),
                      testShortRow("DPT", bulletin, 20, 19),
                      clouds,
                      testShortRow("WDR", bulletin, 60, 19),
                      testShortRow("WSP", bulletin, 80, 19),
                      testShortRow("P12", bulletin, 40, 4)};
        } else {
            b.header = testHeader(station, "MRF", "12/08/2026", "0000");
            std::vector<std::string> clouds;
            for (int column = 1; column <= 15; ++column) {
                clouds.push_back(testCloudWord(bulletin, column));
            }
            // As in real bulletins a row stands between X/N and DPT: the character read
            // after an extended row's last value is the first of the next word.
            b.rows = {testExtendedRow("X/N", testExtendedCells(bulletin, 0)),
                      testExtendedRow("TMP", testExtendedCells(bulletin, 10)),
                      testExtendedRow("DPT", testExtendedCells(bulletin, 20)),
                      testExtendedRow("CLD", clouds),
                      testExtendedRow("WND", testExtendedCells(bulletin, 80)),
                      testExtendedRow("P12", testExtendedCells(bulletin, 40)),
                      testP24Row(bulletin)};
        }
        bulletins.push_back(b);
    }
    return bulletins;
}

/// An NBS row: the label, then three-character fields for hours 6, 9, ..., 72 from `value`
/// (an empty text leaves the field blank).
template <typename Value>
std::string testBlendRow(const std::string& label, Value value) {
    std::string row = label;
    row.resize(4, ' ');
    for (int hour = 6; hour <= 72; hour += 3) {
        std::string field = value(hour);
        field.insert(0, field.size() < 3 ? 3 - field.size() : 0, ' ');
        row += field;
    }
    return row;
}

/// The value an NBS test bulletin (0-3) holds at `hour` in the row with the given offset
/// (as for testValue; SKY 0): three characters at most.
inline int testBlendValue(int bulletin, int rowOffset, int hour) {
    return 100 * bulletin + rowOffset + hour % 20;
}

/// The Blend's NBS bulletin standing in for short-range bulletin `bulletin` (0-3): every
/// row holds testBlendValue at each hour from 6 to 72, TXN and P12 every 12 hours only.
inline TestBulletin testBlendBulletin(int bulletin, const std::string& date = "12/08/2026") {
    TestBulletin b;
    b.header = "\x1e" + std::string(testStations[bulletin % 4]) + "    NBM V5.0 NBS GUIDANCE   " +
               date + "  1200 UTC";
    const auto values = [bulletin](int rowOffset, int every) {
        return [=](int hour) {
            return hour % every == 0 ? std::to_string(testBlendValue(bulletin, rowOffset, hour))
                                     : std::string();
        };
    };
    b.rows = {
        "DT /DEC   8/DEC   9",
        testBlendRow("FHR", [](int hour) { return (hour < 10 ? "0" : "") + std::to_string(hour); }),
        testBlendRow("TXN", values(0, 12)),
        testBlendRow("DPT", values(20, 3)),
        testBlendRow("SKY", values(0, 3)),
        testBlendRow("WDR", values(60, 3)),
        testBlendRow("WSP", values(80, 3)),
        testBlendRow("P12", values(40, 12))};
    return b;
}

/// The row of `bulletin` that starts with `label`; the test fails loudly when absent.
inline std::string& testRow(TestBulletin& bulletin, const std::string& label) {
    for (std::string& row : bulletin.rows) {
        if (row.rfind(" " + label + " ", 0) == 0 || row.rfind(label + " ", 0) == 0) {
            return row;
        }
    }
    throw std::logic_error("no row " + label);
}

inline void removeTestRow(TestBulletin& bulletin, const std::string& label) {
    std::erase_if(bulletin.rows, [&](const std::string& row) {
        return row.rfind(" " + label + " ", 0) == 0 || row.rfind(label + " ", 0) == 0;
    });
}

/// The file text: each header and row on a line of its own.
inline std::string testBulletinText(const std::vector<TestBulletin>& bulletins) {
    std::string text;
    for (const TestBulletin& bulletin : bulletins) {
        text += bulletin.header + "\n";
        for (const std::string& row : bulletin.rows) {
            text += row + "\n";
        }
    }
    return text;
}
