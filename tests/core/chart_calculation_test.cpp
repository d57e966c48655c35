#include "tests/core/chart_session_fixture.h"

#include <numeric>

#include "core/chart_input.h"
#include "data/text_file.h"

namespace horalun {
namespace {

using testing::ChartSessionTest;

class ChartCalculation : public ChartSessionTest {};

int group_sum(const ChartState& st, int from, int to) {
    return std::accumulate(st.elementCount.begin() + from, st.elementCount.begin() + to, 0);
}

TEST_F(ChartCalculation, ElementGroupsCountTheWeightedPoints) {
    natal("24.4.1966", "9:03");
    ASSERT_TRUE(calculate().ok());
    EXPECT_EQ(group_sum(st(), 0, 4), 23);
    EXPECT_EQ(group_sum(st(), 4, 7), 23);
    EXPECT_EQ(group_sum(st(), 7, 9), 23);
    EXPECT_EQ(session->panels.elements[0], std::to_string(st().elementCount[0]));

    // The Part of Fortune and the south node count one each; an Arabic part does not count.
    in().setBox(Box::Fortune, true);
    in().setBox(Box::SouthNode, true);
    in().setBox(Box::Arabic, true);
    st().arabicPart = 12;
    ASSERT_TRUE(calculate().ok());
    EXPECT_EQ(group_sum(st(), 0, 4), 25);
    EXPECT_EQ(group_sum(st(), 7, 9), 25);
    EXPECT_EQ(session->panels.arabicCaption, "Povol.:");
}

TEST_F(ChartCalculation, WritesBothFilesInWindows1250WithCrLf) {
    natal("24.4.1966", "9:03");
    ASSERT_TRUE(calculate().ok());
    ASSERT_FALSE(session->aspectLines.empty());
    std::string expected;
    for (const AspectLine& l : session->aspectLines) expected += l.line + "\n";
    const std::string bytes = file_bytes("aspekty.txt");
    EXPECT_EQ(windows1250_to_utf8(bytes.substr(0, bytes.find('\r'))), session->aspectLines[0].line);
    EXPECT_EQ(read_text_file((dir / "aspekty.txt").string()), expected);
    EXPECT_NE(bytes.find("\xB0"), std::string::npos);  // the degree sign as one byte
    EXPECT_EQ(bytes.find("\xC2"), std::string::npos);  // no UTF-8 in the file
    for (size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
        ASSERT_EQ(bytes[i - 1], '\r');
    // Every line has the fixed layout: names and kind of ten characters, the seven-character
    // deviation field and the letter.
    for (const AspectLine& l : session->aspectLines) {
        EXPECT_TRUE(l.mark == 'A' || l.mark == 'S');
        EXPECT_EQ(l.line.substr(l.line.size() - 2), std::string(" ") + l.mark);
    }
    EXPECT_EQ(session->aspectLines[0].line, "Slunce     konjunkce  Mars        1°08'  A");

    const std::string meanings = read_text_file((dir / "uhly_prvku.txt").string());
    EXPECT_EQ(meanings.rfind("Slunce: 3° 41' Býk\nVýznam: ", 0), 0u) << meanings.substr(0, 80);
    EXPECT_NE(meanings.find("Medium Coeli: 15° 57' Ryby\n"), std::string::npos);
    EXPECT_EQ(st().aspectPairs.rfind("Slunce    |Mars      |konjunkce |1.8|", 0), 0u)
        << st().aspectPairs;
}

TEST_F(ChartCalculation, SecondChartWithAnglesAndValues) {
    natal("24.4.1966", "9:03");
    transit("11.12.2026", "14:00");
    in().setBox(Box::AngleAsc, true);
    in().setBox(Box::AngleMc, true);
    in().setBox(Box::Houses, true);
    in().setBox(Box::ShowTransitValues, true);
    ASSERT_TRUE(calculate().ok());
    EXPECT_NE(st().transitAngle[0], 0.0);
    // The position panel shows the second chart; the natal cusps stay the natal ones.
    EXPECT_EQ(session->panels.positions[PointKey::slunce].sign, "Střelec");
    EXPECT_EQ(session->panels.houses[1].sign, "Rak");
    const std::string meanings = read_text_file((dir / "uhly_prvku.txt").string());
    EXPECT_NE(meanings.find("\nVýznamy stupňů tranzitních planet\n\nSlunce: "), std::string::npos);
    EXPECT_NE(meanings.find("Asc. partnera: "), std::string::npos);
    bool angleAspect = false, natalCusp = false;
    for (const AspectLine& l : session->aspectLines) {
        angleAspect |= l.first == PointKey::dum1_tranz;
        natalCusp |= l.first == PointKey::dum1;
    }
    EXPECT_TRUE(angleAspect);
    EXPECT_TRUE(natalCusp);
    EXPECT_EQ(in().text(InputField::TransitTime), "14:00");
}

TEST_F(ChartCalculation, PlacidusWithoutSolutionKeepsThePreviousChart) {
    natal("24.4.1966", "9:03");
    ASSERT_TRUE(calculate().ok());
    const auto cusps = st().cusp;
    const std::string aspects = file_bytes("aspekty.txt");
    in().setPlacidus(true);
    natal("24.12.1966", "9:03", "14E25", "75N00");
    const CalculationResult r = calculate();
    EXPECT_EQ(r.status, CalculationResult::Status::Failed);
    EXPECT_EQ(r.focus, InputField::NatalLat);
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back(), kPlacidusFailedMessage);
    EXPECT_EQ(st().cusp, cusps);
    EXPECT_EQ(file_bytes("aspekty.txt"), aspects);
    EXPECT_FALSE(st().calculating);
    // The next calculation runs normally.
    in().setPlacidus(false);
    EXPECT_TRUE(calculate().ok());
}

TEST_F(ChartCalculation, EdgesOfTheTable) {
    // Before 1:00 on the first day there is no previous day's sidereal time.
    natal("1.1.1800", "0:30");
    EXPECT_EQ(calculate().status, CalculationResult::Status::Failed);
    EXPECT_EQ(prompter.messages.back(), kDateNotFoundMessage);
    natal("1.1.1800", "1:00");
    EXPECT_TRUE(calculate().ok());
    // On the last day the applying test runs out of table and still finishes.
    natal("31.12.2200", "23:30");
    EXPECT_TRUE(calculate().ok());
    EXPECT_FALSE(session->aspectLines.empty());
}

TEST_F(ChartCalculation, BusyCalculationDoesNothing) {
    st().calculating = true;
    EXPECT_EQ(calculate().status, CalculationResult::Status::Busy);
    EXPECT_FALSE(file_exists("aspekty.txt"));
}

}  // namespace
}  // namespace horalun
