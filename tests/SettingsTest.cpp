// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison method setting: the real INI store and how start-up and the method options use it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/SettingsStore.h"
#include "tests/support/TestServices.h"
#include "window/main/Form1.h"

using namespace corvella;
using corvella::testing::TestServices;

namespace {

// Each test gets its own configuration folder.
class IniSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous); }

    QString iniPath() const { return config.filePath("Kestrovan.ini"); }
    QByteArray iniBytes() const {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir config;
    QByteArray previous;
    IniSettingsStore store;
};

TEST_F(IniSettingsStoreTest, MissingValueGivesTheDefault) {
    EXPECT_EQ(store.get("Kestrovan", "Corvella", "Comparison", "1"), "1");
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(IniSettingsStoreTest, SaveIsOnDiskAtOnceInTheNamedSection) {
    ASSERT_TRUE(store.save("Kestrovan", "Corvella", "Comparison", "2"));
    // Read straight from the file: the process may end right after a click.
    const QByteArray bytes = iniBytes();
    EXPECT_TRUE(bytes.contains("[Corvella]")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Comparison=2")) << bytes.constData();
    EXPECT_EQ(store.get("Kestrovan", "Corvella", "Comparison", "1"), "2");
}

TEST_F(IniSettingsStoreTest, ValuesStayText) {
    ASSERT_TRUE(store.save("Kestrovan", "Corvella", "Comparison", " 1"));
    EXPECT_EQ(store.get("Kestrovan", "Corvella", "Comparison", "1"), " 1");
    ASSERT_TRUE(store.save("Kestrovan", "Corvella", "Comparison", ""));
    EXPECT_EQ(store.get("Kestrovan", "Corvella", "Comparison", "1"), "");
}

TEST_F(IniSettingsStoreTest, UnwritableStoreIsReportedAsFalseAndNothingBreaks) {
    // The configuration folder is a file: nothing can be written under it.
    const QString blocked = config.filePath("blocked");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocked));
    EXPECT_FALSE(store.save("Kestrovan", "Corvella", "Comparison", "2"));
    EXPECT_EQ(store.get("Kestrovan", "Corvella", "Comparison", "1"), "1");
}

TEST_F(IniSettingsStoreTest, GarbledFileGivesTheDefault) {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xfe[[[not an ini file\n\x01\x02");
    file.close();
    EXPECT_EQ(store.get("Kestrovan", "Corvella", "Comparison", "1"), "1");
}

TEST_F(IniSettingsStoreTest, ChoiceSurvivesARestart) {
    {
        TestServices test;
        test.services.settings = &store;
        Form1 form(test.services);
        form.Form_Load();
        form.Option(4)->click();
    }
    TestServices test;
    test.services.settings = &store;
    Form1 form(test.services);
    form.Form_Load();
    EXPECT_TRUE(form.Option(4)->isChecked());
    EXPECT_FALSE(form.PushButton(1)->isEnabled());
}

// Start-up and the method options against a scripted store.
class MethodSettingTest : public ::testing::Test {
protected:
    void start() {
        form = std::make_unique<Form1>(test.services);
        form->Form_Load();
    }
    void store(const QString& value) {
        test.settings.values.insert("Kestrovan/Corvella/Comparison", value);
    }

    TestServices test;
    std::unique_ptr<Form1> form;
};

TEST_F(MethodSettingTest, FirstRunSelectsTheStandardMethodAndStoresNothing) {
    start();
    EXPECT_TRUE(form->Option(3)->isChecked());
    EXPECT_TRUE(form->PushButton(1)->isEnabled());
    EXPECT_EQ(test.settings.saves, 0);
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(MethodSettingTest, StoredTwoSelectsTheWordProcessorMethod) {
    store("2");
    start();
    EXPECT_TRUE(form->Option(4)->isChecked());
    EXPECT_FALSE(form->Option(3)->isChecked());
    EXPECT_FALSE(form->PushButton(1)->isEnabled());
    EXPECT_EQ(test.settings.comparison(), "2");
    EXPECT_EQ(test.settings.saves, 1);
}

TEST_F(MethodSettingTest, AnythingButExactlyOneMeansTheWordProcessorAndIsRewrittenAsTwo) {
    for (const QString& value :
         {QString(""), QString(" 1"), QString("3"), QString("1 "), QString("one")}) {
        SCOPED_TRACE(value.toStdString());
        store(value);
        start();
        EXPECT_TRUE(form->Option(4)->isChecked());
        EXPECT_FALSE(form->PushButton(1)->isEnabled());
        EXPECT_EQ(test.settings.comparison(), "2");
    }
}

TEST_F(MethodSettingTest, EveryClickStoresTheMethodAtOnce) {
    start();
    form->Option(4)->click();
    EXPECT_EQ(test.settings.comparison(), "2");
    EXPECT_FALSE(form->PushButton(1)->isEnabled());
    form->Option(3)->click();
    EXPECT_EQ(test.settings.comparison(), "1");
    EXPECT_TRUE(form->PushButton(1)->isEnabled());
}

TEST_F(MethodSettingTest, AStoreThatRefusesWritesChangesNothingVisible) {
    test.settings.refuseWrites = true;
    start();
    form->Option(4)->click();
    EXPECT_FALSE(form->PushButton(1)->isEnabled());
    EXPECT_TRUE(test.dialogs.messages.empty());
}

TEST_F(MethodSettingTest, TheDisplayModeIsNotRemembered) {
    start();
    form->Option(2)->click();
    EXPECT_TRUE(test.settings.values.isEmpty());
    start();
    EXPECT_TRUE(form->Option(1)->isChecked());
}

}  // namespace
