#include "xml/XmlCodePages.h"

#include "platform/Text.h"

namespace {

struct CharsetName {
  std::string_view name;
  int codePage;
};

constexpr CharsetName kCharsetNames[] = {
    {"utf-8", kCodePageUtf8},
    {"unicode-1-1-utf-8", kCodePageUtf8},
    {"unicode-2-0-utf-8", kCodePageUtf8},
    {"x-unicode20utf8", kCodePageUtf8},
    {"utf8", kCodePageUtf8},
    {"utf-7", kCodePageUtf7},
    {"unicode-1-1-utf-7", kCodePageUtf7},
    {"unicode-2-0-utf-7", kCodePageUtf7},
    {"x-unicode20utf7", kCodePageUtf7},
    {"utf-16", kCodePageUtf16Le},
    {"utf-16le", kCodePageUtf16Le},
    {"unicode", kCodePageUtf16Le},
    {"ucs-2", kCodePageUtf16Le},
    {"iso-10646-ucs-2", kCodePageUtf16Le},
    {"utf-16be", kCodePageUtf16Be},
    {"unicodefffe", kCodePageUtf16Be},
    {"utf-32", kCodePageUtf32Le},
    {"utf-32le", kCodePageUtf32Le},
    {"utf-32be", kCodePageUtf32Be},
    {"shift_jis", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-sjis", 932},
    {"ms_kanji", 932},
    {"csshiftjis", 932},
    {"csWindows31J", 932},
    {"windows-31j", 932},
    {"euc-jp", 51932},
    {"x-euc-jp", 51932},
    {"cseucpkdfmtjapanese", 51932},
    {"iso-2022-jp", 50220},
    {"csiso2022jp", 50220},
    {"gb2312", 936},
    {"gbk", 936},
    {"cp936", 936},
    {"x-gbk", 936},
    {"chinese", 936},
    {"csgb2312", 936},
    {"gb_2312-80", 936},
    {"iso-ir-58", 936},
    {"gb18030", 54936},
    {"big5", 950},
    {"cn-big5", 950},
    {"x-x-big5", 950},
    {"csbig5", 950},
    {"big5-hkscs", 950},
    {"ks_c_5601-1987", 949},
    {"ks_c_5601", 949},
    {"ks_c_5601_1987", 949},
    {"ksc_5601", 949},
    {"ksc5601", 949},
    {"korean", 949},
    {"csksc56011987", 949},
    {"iso-ir-149", 949},
    {"euc-kr", 949},
    {"cseuckr", 949},
    {"windows-1250", 1250},
    {"windows-1251", 1251},
    {"windows-1252", 1252},
    {"windows-1253", 1253},
    {"windows-1254", 1254},
    {"windows-1255", 1255},
    {"windows-1256", 1256},
    {"windows-1257", 1257},
    {"windows-1258", 1258},
    {"windows-874", 874},
    {"tis-620", 874},
    {"us-ascii", 20127},
    {"ascii", 20127},
    {"iso-8859-1", 28591},
    {"latin1", 28591},
    {"l1", 28591},
    {"iso-8859-2", 28592},
    {"iso-8859-3", 28593},
    {"iso-8859-4", 28594},
    {"iso-8859-5", 28595},
    {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},
    {"iso-8859-9", 28599},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605},
    {"koi8-r", 20866},
    {"koi8-u", 21866},
    {"ibm866", 866},
    {"cp866", 866},
    {"ibm437", 437},
    {"cp437", 437},
    {"ibm850", 850},
    {"cp850", 850},
    {"ibm852", 852},
    {"cp852", 852},
};

struct CodePageConverter {
  int codePage;
  const char* iconvName;
};

constexpr CodePageConverter kConverters[] = {
    {kCodePageUtf7, "UTF-7"}, {kCodePageUtf8, "UTF-8"}, {932, "CP932"},
    {51932, "EUC-JP"},        {50220, "ISO-2022-JP"},   {936, "CP936"},
    {54936, "GB18030"},       {950, "BIG5-HKSCS"},      {949, "CP949"},
    {1250, "CP1250"},         {1251, "CP1251"},         {1252, "CP1252"},
    {1253, "CP1253"},         {1254, "CP1254"},         {1255, "CP1255"},
    {1256, "CP1256"},         {1257, "CP1257"},         {1258, "CP1258"},
    {874, "CP874"},           {20127, "ASCII"},         {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},    {28593, "ISO-8859-3"},    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},    {28596, "ISO-8859-6"},    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},    {28599, "ISO-8859-9"},    {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},   {20866, "KOI8-R"},        {21866, "KOI8-U"},
    {866, "CP866"},           {437, "CP437"},           {850, "CP850"},
    {852, "CP852"},
};

}  // namespace

int CodePageOfCharsetName(std::string_view name) {
  for (const CharsetName& entry : kCharsetNames) {
    if (platform::EqualsNoCase(entry.name, name)) return entry.codePage;
  }
  return 0;
}

const char* IconvNameOfCodePage(int codePage) {
  for (const CodePageConverter& entry : kConverters) {
    if (entry.codePage == codePage) return entry.iconvName;
  }
  return nullptr;
}
