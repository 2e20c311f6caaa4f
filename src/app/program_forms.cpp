// The named accessors of the default windows.
#include "app/program.h"
#include "controller/remote.h"
#include "players/Form2.h"
#include "players/Form3.h"
#include "players/wavedev.h"
#include "playlist/Form1.h"
#include "playlist/Splaylist.h"
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

}  // namespace vlx
