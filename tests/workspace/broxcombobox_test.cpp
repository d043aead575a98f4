#include "workspace/broxcombobox.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

TEST(BroxComboBox, SavingPutsTheFieldTextOnTopOfItsSection) {
    ini_file ini = ini_file::parse("[OUTPATH]\nBROX_0=/out\nBROX_1=/tmp\n");
    TBROXComboBox field("outpath");
    field.setEditText(QStringLiteral("typed"));
    field.load_history(ini);
    EXPECT_EQ(field.count(), 2);
    EXPECT_EQ(field.currentText(), QStringLiteral("typed"));

    field.setEditText(QStringLiteral("/tmp"));
    field.save_history(ini);
    EXPECT_EQ(field.currentText(), QStringLiteral("/tmp"));
    EXPECT_EQ(field.itemText(0), QStringLiteral("/tmp"));
    EXPECT_EQ(ini.text(), "[OUTPATH]\nBROX_0=/tmp\nBROX_1=/out\n");

    field.setEditText(QString());
    field.save_history(ini);
    EXPECT_EQ(field.currentText(), QStringLiteral("/tmp"));
    EXPECT_EQ(ini.text(), "[OUTPATH]\nBROX_0=/tmp\nBROX_1=/out\n");
}

}  // namespace
}  // namespace tarnwell
