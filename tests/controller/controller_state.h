// What the Controller shows of its stored settings, one "name: value" line each, so that a
// whole restored state is compared at once and a difference names its setting.
#pragma once
#include <QStringList>
#include <map>
#include <string>

#include "controller/remote.h"
#include "playlist/Form1.h"

namespace vlx::test {

using State = std::map<QString, QString>;

inline State StateOf(remote& c, Form1& pl) {
  auto captions = [](std::initializer_list<Control*> controls) {
    QStringList out;
    for (Control* ctl : controls) out << dynamic_cast<CheckBox*>(ctl)->Caption();
    return out.join(QStringLiteral(" | "));
  };
  QString boxes;
  for (CheckBox* b : {c.Check1, c.Check2, c.Check5, c.Check6, c.Check3, c.dispstyle})
    boxes += QString::number(b->Value());
  return {
      {"place", QStringLiteral("%1,%2").arg(c.Left()).arg(c.Top())},
      {"size", QStringLiteral("%1x%2").arg(c.Width()).arg(c.Height())},
      {"panel", c.Command4->Caption() + " / " + c.Caption()},
      {"top-most", QString(c.TopMost() ? "on" : "off") + " / " + c.Command16->Caption() + " / " +
                       c.mnuShowTop->Caption() + " / items " + QString::number(c.mnuShowTop->Enabled()) +
                       QString::number(c.mnuRPshow->Enabled())},
      {"boxes", boxes},
      {"box captions", captions({c.Check1, c.Check2, c.Check5, c.Check6, c.Check3, c.dispstyle})},
      {"volume", QString::number(c.Slider1->Value())},
      {"font", QStringLiteral("%1 %2 %3")
                   .arg(c.Label1->FontName())
                   .arg(c.Label4->FontSize())
                   .arg(c.Label3->FontBold() ? "bold" : "plain")},
      {"colours", QStringLiteral("%1 %2").arg(c.Label4->ForeColor()).arg(pl.lstFoundFiles->ForeColor())},
      {"filters", pl.Combo1->Text() + " " + pl.txtSearchSpec->Text()},
      {"back picture", c.controllerBackPicturePath()},
  };
}

// What a start restores when the settings file holds nothing for the Controller.
inline const State kDesign = {
    {"place", "0,0"},
    {"size", "4650x2115"},
    {"panel", "option　　▽ / V L X      [Controller]"},
    {"top-most", "off / show top / show top / items 10"},
    {"boxes", "111011"},
    {"box captions", "show wmp | show rp | show playlist | show wmp・rp・playlist | play follow playlist | "
                     "auto set wmp size"},
    {"volume", "0"},
    {"font", "IPAPGothic 8.25 plain"},
    {"colours", "0 0"},
    {"filters", "*.* *.*"},
    {"back picture", ""},
};

// The state with some settings changed.
inline State With(State s, const State& changes) {
  for (const auto& [key, value] : changes) s[key] = value;
  return s;
}

// Values shown side by side, so that a failed comparison prints them readably.
inline std::string Joined(const QStringList& values) { return values.join(QStringLiteral(" | ")).toStdString(); }

inline std::string Lines(const State& s) {
  std::string out;
  for (const auto& [key, value] : s) out += (key + ": " + value + "\n").toStdString();
  return out;
}

}  // namespace vlx::test
