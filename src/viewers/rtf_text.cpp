// The text of an RTF document (see rtf_text.h).
#include "viewers/rtf_text.h"

#include <QByteArray>
#include <QHash>
#include <cctype>
#include <string_view>
#include <utility>
#include <vector>

#include "viewers/text_decoding.h"

namespace vlx {
namespace {

// Groups whose content is not text.
constexpr std::string_view kSkipped[] = {
    "fonttbl",    "colortbl",   "stylesheet", "info",       "pict",     "object",
    "header",     "footer",     "headerl",    "headerr",    "headerf",  "footerl",
    "footerr",    "footerf",    "listtable",  "listoverridetable",      "rsidtbl",
    "themedata",  "colorschememapping",       "datastore",  "latentstyles",
    "generator",  "xmlnstbl",   "mmathPr",    "filetbl",    "revtbl",   "pgdsctbl",
    "fldinst",    "bkmkstart",  "bkmkend",    "field"};

// Control words that stand for text.
constexpr std::pair<std::string_view, const char16_t*> kWordTexts[] = {
    {"par", u"\n"},         {"line", u"\n"},        {"row", u"\n"},
    {"sect", u"\n"},        {"page", u"\n"},        {"tab", u"\t"},
    {"cell", u"\t"},        {"emdash", u"\u2014"},  {"endash", u"\u2013"},
    {"bullet", u"\u2022"},  {"lquote", u"\u2018"},  {"rquote", u"\u2019"},
    {"ldblquote", u"\u201C"}, {"rdblquote", u"\u201D"}};

// The Windows code page of a font character set.
int codePageOfCharset(int charset, int documentCodePage) {
  switch (charset) {
    case 0:  // ANSI: Western, whatever the document's code page
    case 2:  // symbol fonts map their bytes as Western text does
      return 1252;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return documentCodePage;
  }
}

struct Group {
  bool skip = false;      // inside a group that holds no text
  int unicodeSkip = 1;    // bytes standing in for each \u character
  int font = -1;
};

class Reader {
 public:
  explicit Reader(QByteArrayView rtf) : in_(rtf) {}

  QString run() {
    groups_.push_back(Group{});
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        flush();
        // Nesting beyond any real document is read as if flat.
        if (groups_.size() < kMaxDepth) groups_.push_back(groups_.back());
        else ++overflow_;
      } else if (c == '}') {
        ++pos_;
        flush();
        if (overflow_ > 0) --overflow_;
        else if (groups_.size() > 1) groups_.pop_back();
      } else if (c == '\\') {
        ++pos_;
        controlWord();
      } else {
        ++pos_;
        if (c != '\r' && c != '\n') text(uint8_t(c));
      }
    }
    flush();
    return out_;
  }

 private:
  static constexpr size_t kMaxDepth = 4096;
  QByteArrayView in_;
  qsizetype pos_ = 0;
  std::vector<Group> groups_;
  size_t overflow_ = 0;
  QString out_;
  QByteArray pending_;  // escaped bytes not yet decoded
  int pendingCodePage_ = 1252;
  int documentCodePage_ = 1252;
  int skipBytes_ = 0;  // after \u, the stand-in bytes still to drop
  QHash<int, int> fontCodePage_;

  Group& g() { return groups_.back(); }

  int codePage() {
    const auto it = fontCodePage_.find(g().font);
    return it == fontCodePage_.end() ? documentCodePage_ : it.value();
  }

  void flush() {
    if (pending_.isEmpty()) return;
    out_ += DecodeCodePage(pending_, pendingCodePage_);
    pending_.clear();
  }

  void put(QStringView s) {
    if (g().skip) return;
    flush();
    out_ += s;
  }

  void text(uint8_t byte) {
    if (skipBytes_ > 0) {
      --skipBytes_;
      return;
    }
    if (g().skip) return;
    if (byte < 0x80) {
      flush();
      out_ += QChar(byte);
      return;
    }
    const int cp = codePage();
    if (!pending_.isEmpty() && cp != pendingCodePage_) flush();
    pendingCodePage_ = cp;
    pending_.append(char(byte));
  }

  void controlWord() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!std::isalpha(uint8_t(c))) {
      ++pos_;
      controlSymbol(c);
      return;
    }
    const qsizetype start = pos_;
    while (pos_ < in_.size() && std::isalpha(uint8_t(in_[pos_])) && pos_ - start < 32) ++pos_;
    const std::string_view word(in_.data() + start, size_t(pos_ - start));
    bool hasNumber = false;
    long number = 0;
    bool negative = false;
    if (pos_ < in_.size() && in_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && std::isdigit(uint8_t(in_[pos_]))) {
      if (number < 100000000) number = number * 10 + (in_[pos_] - '0');
      hasNumber = true;
      ++pos_;
    }
    if (negative) number = -number;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    apply(word, hasNumber, int(number));
  }

  void controlSymbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}':
        text(uint8_t(c));
        return;
      case '\'': {
        if (pos_ + 2 > in_.size()) return;
        bool ok = false;
        const int byte = QByteArray(in_.data() + pos_, 2).toInt(&ok, 16);
        pos_ += 2;
        if (ok) text(uint8_t(byte));
        return;
      }
      case '*':
        g().skip = true;  // a destination this reader need not know
        return;
      case '~':
        dropStandIn();
        put(u"\u00A0");
        return;
      case '_':
        dropStandIn();
        put(u"\u2011");
        return;
      case '\r':
      case '\n':
        dropStandIn();
        put(u"\n");
        return;
      case '\t':
        dropStandIn();
        put(u"\t");
        return;
      default:
        return;  // \- (optional hyphen) and unknown symbols show nothing
    }
  }

  void dropStandIn() {
    if (skipBytes_ > 0) --skipBytes_;
  }

  void apply(std::string_view word, bool hasNumber, int n) {
    for (std::string_view s : kSkipped) {
      if (word == s) {
        g().skip = true;
        return;
      }
    }
    if (word == "ansicpg" && hasNumber) {
      documentCodePage_ = n;
    } else if (word == "f" && hasNumber) {
      g().font = n;
    } else if (word == "fcharset" && hasNumber) {
      fontCodePage_[g().font] = codePageOfCharset(n, documentCodePage_);
    } else if (word == "uc" && hasNumber) {
      g().unicodeSkip = std::max(0, n);
    } else if (word == "u" && hasNumber) {
      if (!g().skip) {
        flush();
        const char16_t unit = char16_t(n < 0 ? n + 65536 : n);
        out_ += QChar(unit);
      }
      skipBytes_ = g().unicodeSkip;
    } else {
      for (const auto& [name, text] : kWordTexts)
        if (word == name) put(text);
    }
  }
};

}  // namespace

bool IsRtf(QByteArrayView bytes) {
  if (bytes.startsWith(QByteArrayView("\xEF\xBB\xBF", 3))) bytes = bytes.sliced(3);
  qsizetype i = 0;
  while (i < bytes.size() && std::isspace(uint8_t(bytes[i]))) ++i;
  return bytes.sliced(i).startsWith("{\\rtf");
}

QString RtfToText(QByteArrayView rtf) { return Reader(rtf).run(); }

}  // namespace vlx
