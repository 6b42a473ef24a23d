// The Qt member picker as a user drives it: typing narrows the list, the
// arrow keys move the selection from the filter box, Enter opens, Escape
// cancels; 10,000 members show at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "archive/MemberPicker.h"
#include "ui/qt/MemberPickerDialog.h"

namespace vantrel::testing {
namespace {

std::vector<archive::Member> members(std::size_t count) {
  std::vector<archive::Member> list;
  for (std::size_t i = 0; i < count; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "Scenery/%s%05zu.bin", i % 2 ? "Tree" : "Rock", i);
    list.push_back({name, 1000 + i, i});
  }
  return list;
}

// Runs the dialog with the keys typed once it shows; returns exec's result.
int runWithKeys(qt::MemberPickerDialog& dialog, const std::function<void()>& keys) {
  QTimer::singleShot(0, &dialog, keys);
  return dialog.exec();
}

TEST(MemberPickerDialog, TypingNarrowsArrowsMoveAndEnterOpens) {
  archive::MemberPicker picker(members(10000));
  qt::MemberPickerDialog dialog(nullptr, "Open from MainContent.ap", picker);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open from MainContent.ap"));
  EXPECT_EQ(dialog.list()->model()->rowCount(), 10000);
  const int result = runWithKeys(dialog, [&] {
    QTest::keyClicks(dialog.filterBox(), "tree0001");  // any case
    EXPECT_EQ(dialog.list()->model()->rowCount(), 5);  // Tree00011 ... Tree00019, odd only
    QTest::keyClick(dialog.filterBox(), Qt::Key_Down);
    QTest::keyClick(dialog.filterBox(), Qt::Key_Return);
  });
  EXPECT_EQ(result, QDialog::Accepted);
  ASSERT_NE(picker.selectedMember(), nullptr);
  EXPECT_EQ(picker.selectedMember()->path, "Scenery/Tree00013.bin");
  EXPECT_EQ(dialog.list()->model()->data(dialog.list()->model()->index(0, 1)).toString(),
            QString::fromStdString(picker.row(0).sizeText));
}

TEST(MemberPickerDialog, EscapeCancels) {
  archive::MemberPicker picker(members(3));
  qt::MemberPickerDialog dialog(nullptr, "Open from x.ap", picker);
  const int result =
      runWithKeys(dialog, [&] { QTest::keyClick(dialog.filterBox(), Qt::Key_Escape); });
  EXPECT_EQ(result, QDialog::Rejected);
}

}  // namespace
}  // namespace vantrel::testing
