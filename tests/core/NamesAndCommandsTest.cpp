#include <gtest/gtest.h>

#include <set>

#include "pipeline/BackupSlots.h"
#include "pipeline/ConverterCommand.h"
#include "pipeline/WorkingNames.h"

using namespace vantrel::pipeline;

TEST(WorkingNames, LastFourCharactersBecomeXml) {
  EXPECT_EQ(workingXmlName("C:\\Sim\\Tracks.bin"), "Tracks.xml");
  EXPECT_EQ(workingXmlName("C:\\Sim\\Tracks.BIN"), "Tracks.xml");
  EXPECT_EQ(workingXmlName("C:\\Sim\\Tracks.dat"), "Tracks.xml");
  EXPECT_EQ(workingXmlName("C:\\a.b\\x.bin"), "x.xml");
  EXPECT_EQ(workingXmlName("C:/Sim\\B/x.bin"), "x.xml");  // either separator
  EXPECT_EQ(workingXmlName("abcd"), ".xml");
  EXPECT_EQ(workingXmlName("C:\\Sim\\abc"), std::nullopt);
  EXPECT_EQ(workingXmlName(""), std::nullopt);
  // Characters, not bytes: a letter beyond ASCII is one and is never cut.
  EXPECT_EQ(workingXmlName("Z\xC3\xBCrich Hbf.bin"), "Z\xC3\xBCrich Hbf.xml");
  EXPECT_EQ(workingXmlName("AA\xC3\xBC\xC3\x9Fx"), "A.xml");            // AAüßx
  EXPECT_EQ(workingXmlName("\xC3\xBC\xC3\xBC\xC3\xBC"), std::nullopt);  // üüü: three characters
#ifndef _WIN32
  EXPECT_EQ(workingXmlName("/home/u/sim/Tracks.bin"), "Tracks.xml");
#endif
}

TEST(WorkingNames, OtherFilesKeepTheBaseUpToItsLastDot) {
  auto dotted = otherFileWorkingNames("C:\\Sim\\a.b.bin");
  EXPECT_EQ(dotted.binName, "a.b.bin");
  EXPECT_EQ(dotted.xmlName, "a.b.xml");
  auto xml = otherFileWorkingNames("C:\\Sim\\scenery.xml");
  EXPECT_EQ(xml.binName, "scenery.bin");
  auto bare = otherFileWorkingNames("C:\\Sim.d\\README");
  EXPECT_EQ(bare.binName, "bin");
  EXPECT_EQ(bare.xmlName, "xml");
}

TEST(BackupSlots, FirstFreeNameInTableOrder) {
  std::set<std::string> present;
  auto exists = [&](const std::string& p) { return present.count(p) > 0; };
  EXPECT_EQ(firstFreeBackup("C:\\x\\a.bin", exists), "C:\\x\\a.bin.bak");
  present = {"a.bin.bak", "a.bin.bak2"};
  EXPECT_EQ(firstFreeBackup("a.bin", exists), "a.bin.bak1");  // a gap is filled first
  present = {"a.bin.bak", "a.bin.bak1", "a.bin.bak2", "a.bin.bak3"};
  EXPECT_EQ(firstFreeBackup("a.bin", exists), "a.bin.bak4");
  present.insert("a.bin.bak4");
  EXPECT_EQ(firstFreeBackup("a.bin", exists), std::nullopt);  // nothing may be overwritten
}

TEST(ConverterCommand, ExactFormsWithQuotedPaths) {
  EXPECT_EQ(binToXmlCommand("C:\\My Sim\\a.bin", "C:\\P\\TempFiles\\a.xml"),
            "serz.exe \"C:\\My Sim\\a.bin\" xml:\"C:\\P\\TempFiles\\a.xml\"");
  EXPECT_EQ(xmlToBinCommand("C:\\P\\TempFiles\\a.xml", "C:\\My Sim\\a.bin"),
            "serz.exe \"C:\\P\\TempFiles\\a.xml\" bin:\"C:\\My Sim\\a.bin\"");
  EXPECT_EQ(viewerCommand("C:\\i_view32.exe", "D:\\t.dds"), "\"C:\\i_view32.exe\" \"D:\\t.dds\"");
}

TEST(ConverterCommand, PathWithAQuoteIsRefused) {
  EXPECT_EQ(binToXmlCommand("/home/u/say \"hi\".bin", "/p/x.xml"), std::nullopt);
  EXPECT_EQ(xmlToBinCommand("/p/x.xml", "a\"b"), std::nullopt);
  EXPECT_EQ(viewerCommand("/v\"", "/i.dds"), std::nullopt);
  EXPECT_EQ(binToXmlCommand(std::string("a\0b", 3), "x"), std::nullopt);
}
