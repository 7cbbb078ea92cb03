// The satellite tuning dialog, operated with the keyboard and the mouse:
// the receiver's tuning it starts with, the option bits each model offers,
// what the tuning command cannot carry refused with a box and left for
// correction, and the record handed back as SetChannel reads it.
#include <gtest/gtest.h>

#include <QLineEdit>

#include <vector>

#include "config/tuning_form.h"
#include "dialog_test_support.h"
#include "dialogs/satellite_tuning_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"

namespace {

using namespace dialogs_test;
using dialogs::CSatelliteTuningDlg;

QLineEdit* Edit(CSatelliteTuningDlg& dialog, int id) {
    return qobject_cast<QLineEdit*>(platform::window::qt::WidgetOf(dialog.GetDlgItem(id)));
}

skin::CRedCheckBox* Option(CSatelliteTuningDlg& dialog, int bit) {
    return dialog.GetDlgItemAs<skin::CRedCheckBox>(res::IDC_SAT_OPTION0 + 2 * bit);
}

TEST(SatelliteDialog, StartsWithTheReceiversTuningAndOffersOnlyItsModelsBits) {
    struct Case {
        std::uint16_t type;
        unsigned offered;
    };
    for (const Case& c : {Case{TYPE_T22_V3, 0x1F}, Case{TYPE_T22_V2, 0x07}, Case{TYPE_T22CA, 0x1F},
                          Case{TYPE_TREVAN, 0x1F}}) {
        SCOPED_TRACE(c.type);
        CSatelliteTuningDlg dialog(c.type);
        dialog.SetStartTuning(config::MakeSatelliteTuning(1234.5, 27.5, 0x1B));
        QString frequency, symbolRate;
        unsigned shown = 0, checked = 0;
        const int ended = RunModal(dialog, [&] {
            frequency = Edit(dialog, res::IDC_SAT_FREQUENCY)->text();
            symbolRate = Edit(dialog, res::IDC_SAT_SYMBOL_RATE)->text();
            for (int bit = 0; bit < 5; ++bit) {
                if (Option(dialog, bit)->IsWindowVisible()) shown |= 1u << bit;
                if (Option(dialog, bit)->IsChecked()) checked |= 1u << bit;
            }
            QTest::keyClick(Edit(dialog, res::IDC_SAT_FREQUENCY), Qt::Key_Return);
        });
        EXPECT_EQ(ended, IDOK);
        EXPECT_EQ(frequency, "1234.5");
        EXPECT_EQ(symbolRate, "27.500");
        EXPECT_EQ(shown, c.offered);
        EXPECT_EQ(checked, 0x1Bu & c.offered);
        SatelliteTuning result{};
        ASSERT_TRUE(dialog.GetResult(result)) << "Enter confirms unchanged values";
        EXPECT_FLOAT_EQ(result.frequency, 1234.5f);
        EXPECT_FLOAT_EQ(result.symbolRate, 27.5f);
        EXPECT_EQ(config::OptionBitsOf(result), 0x1Bu & c.offered);
    }
}

TEST(SatelliteDialog, WhatTheCommandCannotCarryIsRefusedOnceEachAndCanBeCorrected) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CSatelliteTuningDlg dialog(TYPE_T22_V3);
    struct Entry {
        const char* frequency;
        const char* symbolRate;
        const char* box;
    };
    const Entry refused[] = {
        {"", "27.5", "Enter a number."},
        {"12a", "27.5", "Enter a number."},
        {"1e3", "27.5", "Enter a number."},
        {"1234,5", "27.5", "Enter a number."},
        {"0.04", "27.5", "Enter a number between 0.1 and 6553.5."},
        {"6553.56", "27.5", "Enter a number between 0.1 and 6553.5."},
        {"-5", "27.5", "Enter a number between 0.1 and 6553.5."},
        {"1150", "", "Enter a number."},
        {"1150", "0.0004", "Enter a number between 0.001 and 65.535."},
        {"1150", "65.536", "Enter a number between 0.001 and 65.535."},
    };
    std::vector<std::size_t> boxesAfterEachOk;
    bool stayedOpen = true;
    const int result = RunModal(dialog, [&] {
        for (const Entry& e : refused) {
            Retype(Edit(dialog, res::IDC_SAT_FREQUENCY), QString::fromLatin1(e.frequency));
            Retype(Edit(dialog, res::IDC_SAT_SYMBOL_RATE), QString::fromLatin1(e.symbolRate));
            Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
            boxesAfterEachOk.push_back(service.MessageBoxes().size());
            stayedOpen = stayedOpen && dialog.IsModalRunning();
        }
        // Rounded to what the command carries: tenths and thousandths.
        Retype(Edit(dialog, res::IDC_SAT_FREQUENCY), QStringLiteral(" 6553.54 "));
        Retype(Edit(dialog, res::IDC_SAT_SYMBOL_RATE), QStringLiteral("0.0014"));
        Click(Option(dialog, 4));
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(stayedOpen);
    std::vector<std::size_t> once;
    for (std::size_t i = 1; i <= std::size(refused); ++i) once.push_back(i);
    EXPECT_EQ(boxesAfterEachOk, once);
    ASSERT_EQ(service.MessageBoxes().size(), std::size(refused));
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_EQ(service.MessageBoxes()[i].text, refused[i].box) << i;
        EXPECT_EQ(service.MessageBoxes()[i].type, MB_OK | MB_ICONEXCLAMATION);
    }
    SatelliteTuning tuning{};
    ASSERT_TRUE(dialog.GetResult(tuning));
    EXPECT_FLOAT_EQ(tuning.frequency, 6553.5f);
    EXPECT_FLOAT_EQ(tuning.symbolRate, 0.001f);
    EXPECT_EQ(config::OptionBitsOf(tuning), 0x10u);
    EXPECT_TRUE(config::FrequencyInRange(tuning.frequency) &&
                config::SymbolRateInRange(tuning.symbolRate));
}

TEST(SatelliteDialog, EscapeAndTheCrossLeaveItUnconfirmed) {
    for (bool escape : {true, false}) {
        CSatelliteTuningDlg dialog(TYPE_T22_V3);
        dialog.SetStartTuning(config::MakeSatelliteTuning(1234.5, 27.5, 0));
        const int ended = RunModal(dialog, [&] {
            Retype(Edit(dialog, res::IDC_SAT_FREQUENCY), QStringLiteral("1100"));
            if (escape)
                QTest::keyClick(Edit(dialog, res::IDC_SAT_FREQUENCY), Qt::Key_Escape);
            else
                Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)));
        });
        EXPECT_EQ(ended, IDCANCEL);
        SatelliteTuning tuning{};
        EXPECT_FALSE(dialog.GetResult(tuning));
    }
}

}  // namespace
