// The process-log report, its file name and the proposed image name.
#include <gtest/gtest.h>

#include "cdcore/cd_texts.h"

using namespace cd;
using namespace cd::core;

namespace {

TEST(CdTexts, LogReportSeparatesRowsWithAnActivityOnly) {
  const std::string header = "---------------Message Log Report of Quarvel Velnora CD---------------\r\n\r\n";
  EXPECT_EQ(CdLogReport({}), header);
  const std::string indent(20, ' ');
  EXPECT_EQ(CdLogReport({{"Scan", "Disc", "Done"}, {"", "more", ""}, {"Recover", "", "ok"}}),
            header + "Scan\r\n" + indent + "Disc\r\n" + indent + "Done\r\n" + indent + "more\r\n" +
                std::string(78, '-') + "\r\nRecover\r\n" + indent + "ok\r\n");
}

TEST(CdTexts, ReportPathAndImageName) {
  EXPECT_EQ(CdLogReportPath("/tmp/Quarvel Velnora CD.txt"), "/tmp/Quarvel Velnora CD.txt.Txt");
  EXPECT_EQ(CdLogReportPath("/tmp/run.log"), "/tmp/run.log");
  EXPECT_EQ(CdLogReportPath("/tmp/run.LOG"), "/tmp/run.LOG.Txt");
  EXPECT_EQ(CdDefaultImageName(2026, 12, 8), "CD Image 8- December -2026");
  EXPECT_EQ(CdDefaultImageName(2027, 3, 5), "CD Image 5- March -2027");
}

}  // namespace
