#include <gtest/gtest.h>

#include "ui/qt/QtText.h"

namespace vantrel::testing {
namespace {

TEST(FileDialogFilter, PipePairsBecomeQtEntries) {
  EXPECT_EQ(qt::toQtFilter("Desc (*.x)|*.x|Other (*.*)|*.*"), "Desc (*.x);;Other (*.*)");
  EXPECT_EQ(qt::toQtFilter("Textures|*.dds"), "Textures (*.dds)");  // Qt needs the pattern
}

TEST(QtText, TextsAndPathsCrossAsUtf8) {
  const std::string text = "M\xC3\xBCnchen K\xC4\x85ty \xF0\x9F\x9A\x82";
  EXPECT_EQ(qt::fromUtf8(text), QStringLiteral("M\u00FCnchen K\u0105ty \U0001F682"));
  EXPECT_EQ(qt::toUtf8(qt::fromUtf8(text)), text);
#ifdef _WIN32
  EXPECT_EQ(qt::toProgramPath(QStringLiteral("C:/Z\u00FCrich/a.bin")), "C:\\Z\xC3\xBCrich\\a.bin");
#else
  EXPECT_EQ(qt::toProgramPath(QStringLiteral("/tmp/Z\u00FCrich Hbf.bin")),
            "/tmp/Z\xC3\xBCrich Hbf.bin");
#endif
}

}  // namespace
}  // namespace vantrel::testing
