// The About box: how it opens and closes, the user and version it shows, the link to the
// manual, the system-information program and the readme menu.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <unistd.h>

#include "controller/frmAbout.h"
#include "controller/remote.h"
#include "platform/account.h"
#include "playlist/Form1.h"
#include "settings/ini.h"
#include "support/program_fixture.h"
#include "support/scoped_env.h"

namespace vlx::test {
namespace {

class AboutTest : public ProgramFixture {
 protected:
  remote* c = nullptr;
  void SetUp() override {
    ProgramFixture::SetUp();
    c = &startAfterFirstRun();
  }
  static void moveOver(QWidget* w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
  }
};

TEST_F(AboutTest, PictureAndMenuOpenTheBoxOverThePlaylistWindowAndOnlyOkClosesIt) {
  for (int way = 0; way < 2; ++way) {
    if (way == 0)
      QTest::mouseClick(c->Image6->widget(), Qt::LeftButton);
    else
      c->mnuInfo->click();
    frmAbout* box = prog->loaded<frmAbout>();
    ASSERT_NE(box, nullptr) << way;
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->Caption(), QStringLiteral("V L X   [Information]"));
    EXPECT_EQ(box->owner(), &prog->Form1());
    EXPECT_EQ(box->lblVersion->Caption(), QStringLiteral("Version ") + QStringLiteral(VLX_TEST_VERSION));

    box->close();  // the title bar's close does nothing
    pump();
    EXPECT_EQ(prog->loaded<frmAbout>(), box);
    EXPECT_TRUE(box->isVisible());
    box->cmdOK->press();
    EXPECT_EQ(prog->loaded<frmAbout>(), nullptr);
    pump();
  }
}

TEST_F(AboutTest, TheUserIsTheAccountOfTheEffectiveUserOrAQuestionMark) {
  const QString name = platform::LoggedOnUserName();
  ASSERT_FALSE(name.isEmpty());
  EXPECT_EQ(prog->frmAbout().lblusername->Caption(), name);
  EXPECT_EQ(platform::AccountName(0), QStringLiteral("root"));
  EXPECT_TRUE(platform::AccountName(uid_t(3999999999u)).isEmpty());
}

TEST_F(AboutTest, LinkTurnsBoldUnderTheMouseAndOpensTheManualAndReadmeIsAMenu) {
  frmAbout& box = prog->frmAbout();
  box.Show(&prog->Form1());
  moveOver(box.url2->widget());
  EXPECT_TRUE(box.url2->FontBold());
  moveOver(box.client());
  EXPECT_FALSE(box.url2->FontBold());
  moveOver(box.url2->widget());
  moveOver(box.Image2->widget());
  EXPECT_FALSE(box.url2->FontBold());

  QTest::mouseClick(box.url2->widget(), Qt::LeftButton);
  ASSERT_EQ(shell->opened.size(), 1);
  EXPECT_EQ(shell->opened[0], box.url2->Caption());
  EXPECT_TRUE(QFile::exists(QUrl(shell->opened[0]).toLocalFile())) << qPrintable(shell->opened[0]);

  // The readme button pops up the readme menu.
  box.Command1->press();
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->actions().size(), 3);
  EXPECT_EQ(popup->actions().first()->text(), QStringLiteral("readme [text]"));
  popup->close();
}

TEST_F(AboutTest, SystemInformationComesFromTheStoreOrThePathElseTheError) {
  QTemporaryDir bin;
  const QString monitor = bin.path() + QStringLiteral("/gnome-system-monitor");
  writeAll(monitor, "#!/bin/sh\n");
  ASSERT_TRUE(QFile::setPermissions(monitor, QFile::ReadOwner | QFile::ExeOwner));
  const QString kError = QStringLiteral("error : can't use sysinfo now.");

  struct Case {
    const char* stored;  // the store's MSINFO/PATH
    bool onPath;         // a known program is installed
    bool starts;         // programs start
    const char* launched;
  };
  const Case cases[] = {
      {"/opt/info/sysinfo", true, true, "/opt/info/sysinfo"},
      {"", true, true, "monitor"},
      {"", false, true, nullptr},
      {"/opt/info/sysinfo", true, false, nullptr},
  };
  frmAbout& box = prog->frmAbout();
  for (const Case& k : cases) {
    WriteRegistry(QStringLiteral("MSINFO"), QStringLiteral("PATH"), QString::fromLatin1(k.stored));
    ScopedEnv path("PATH", k.onPath ? QFile::encodeName(bin.path()) : QByteArray("/nonexistent"));
    shell->refuseRuns = !k.starts;
    shell->launches.clear();
    dialogs->messages.clear();
    box.cmdSysInfo->press();
    if (k.launched) {
      const QString expected = qstrcmp(k.launched, "monitor") == 0 ? monitor : QString::fromLatin1(k.launched);
      ASSERT_EQ(shell->launches.size(), 1u) << k.stored;
      EXPECT_EQ(shell->launches[0].program, expected);
      EXPECT_TRUE(dialogs->messages.empty());
    } else {
      EXPECT_EQ(dialogs->messageTexts(), QStringList{kError}) << k.stored;
    }
  }
}

}  // namespace
}  // namespace vlx::test
