// The named accessors of the default windows.
#include "app/program.h"
#include "controller/frmAbout.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
#include "playlist/send_to.h"
#include "plugins/susie.h"
#include "players/wmp9.h"
#include "viewers/frmBrowser.h"
#include "viewers/pictureview.h"
#include "players/wmpcontroller.h"
#include "viewers/text.h"
#include "viewers/viewclip.h"
#include "settings/load_and_save.h"
#include "winutil/tpwindow.h"

namespace vlx {

vlx::remote& Program::remote() { return form<vlx::remote>(); }
vlx::load_and_save& Program::load_and_save() { return form<vlx::load_and_save>(); }
vlx::Form1& Program::Form1() { return form<vlx::Form1>(); }
vlx::Form2& Program::Form2() { return form<vlx::Form2>(); }
vlx::Form3& Program::Form3() { return form<vlx::Form3>(); }
vlx::wavedev& Program::wavedev() { return form<vlx::wavedev>(); }
vlx::tpwindow& Program::tpwindow() { return form<vlx::tpwindow>(); }
vlx::Splaylist& Program::Splaylist() { return form<vlx::Splaylist>(); }
vlx::text& Program::text() { return form<vlx::text>(); }
vlx::susie& Program::susie() { return form<vlx::susie>(); }
vlx::wmp9& Program::wmp9() { return form<vlx::wmp9>(); }
vlx::send_to& Program::send_to() { return form<vlx::send_to>(); }
vlx::frmBrowser& Program::frmBrowser() { return form<vlx::frmBrowser>(); }
vlx::pictureview& Program::pictureview() { return form<vlx::pictureview>(); }
vlx::viewclip& Program::viewclip() { return form<vlx::viewclip>(); }
vlx::wmpcontroller& Program::wmpcontroller() { return form<vlx::wmpcontroller>(); }
vlx::frmAbout& Program::frmAbout() { return form<vlx::frmAbout>(); }

}  // namespace vlx
