#include "xml/XmlCharacterReferences.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct NamedCharacter {
  const char* name;
  char32_t codePoint;
};

// HTML 4.01's character names plus "apos", in byte order of the names so that a lookup
// is a binary search. Case matters: "Oslash" and "oslash" are different letters.
constexpr std::array<NamedCharacter, 253> kNamedCharacters{{
    {"AElig", 198},    {"Aacute", 193},  {"Acirc", 194},   {"Agrave", 192},  {"Alpha", 913},
    {"Aring", 197},    {"Atilde", 195},  {"Auml", 196},    {"Beta", 914},    {"Ccedil", 199},
    {"Chi", 935},      {"Dagger", 8225}, {"Delta", 916},   {"ETH", 208},     {"Eacute", 201},
    {"Ecirc", 202},    {"Egrave", 200},  {"Epsilon", 917}, {"Eta", 919},     {"Euml", 203},
    {"Gamma", 915},    {"Iacute", 205},  {"Icirc", 206},   {"Igrave", 204},  {"Iota", 921},
    {"Iuml", 207},     {"Kappa", 922},   {"Lambda", 923},  {"Mu", 924},      {"Ntilde", 209},
    {"Nu", 925},       {"OElig", 338},   {"Oacute", 211},  {"Ocirc", 212},   {"Ograve", 210},
    {"Omega", 937},    {"Omicron", 927}, {"Oslash", 216},  {"Otilde", 213},  {"Ouml", 214},
    {"Phi", 934},      {"Pi", 928},      {"Prime", 8243},  {"Psi", 936},     {"Rho", 929},
    {"Scaron", 352},   {"Sigma", 931},   {"THORN", 222},   {"Tau", 932},     {"Theta", 920},
    {"Uacute", 218},   {"Ucirc", 219},   {"Ugrave", 217},  {"Upsilon", 933}, {"Uuml", 220},
    {"Xi", 926},       {"Yacute", 221},  {"Yuml", 376},    {"Zeta", 918},    {"aacute", 225},
    {"acirc", 226},    {"acute", 180},   {"aelig", 230},   {"agrave", 224},  {"alefsym", 8501},
    {"alpha", 945},    {"amp", 38},      {"and", 8743},    {"ang", 8736},    {"apos", 39},
    {"aring", 229},    {"asymp", 8776},  {"atilde", 227},  {"auml", 228},    {"bdquo", 8222},
    {"beta", 946},     {"brvbar", 166},  {"bull", 8226},   {"cap", 8745},    {"ccedil", 231},
    {"cedil", 184},    {"cent", 162},    {"chi", 967},     {"circ", 710},    {"clubs", 9827},
    {"cong", 8773},    {"copy", 169},    {"crarr", 8629},  {"cup", 8746},    {"curren", 164},
    {"dArr", 8659},    {"dagger", 8224}, {"darr", 8595},   {"deg", 176},     {"delta", 948},
    {"diams", 9830},   {"divide", 247},  {"eacute", 233},  {"ecirc", 234},   {"egrave", 232},
    {"empty", 8709},   {"emsp", 8195},   {"ensp", 8194},   {"epsilon", 949}, {"equiv", 8801},
    {"eta", 951},      {"eth", 240},     {"euml", 235},    {"euro", 8364},   {"exist", 8707},
    {"fnof", 402},     {"forall", 8704}, {"frac12", 189},  {"frac14", 188},  {"frac34", 190},
    {"frasl", 8260},   {"gamma", 947},   {"ge", 8805},     {"gt", 62},       {"hArr", 8660},
    {"harr", 8596},    {"hearts", 9829}, {"hellip", 8230}, {"iacute", 237},  {"icirc", 238},
    {"iexcl", 161},    {"igrave", 236},  {"image", 8465},  {"infin", 8734},  {"int", 8747},
    {"iota", 953},     {"iquest", 191},  {"isin", 8712},   {"iuml", 239},    {"kappa", 954},
    {"lArr", 8656},    {"lambda", 955},  {"lang", 9001},   {"laquo", 171},   {"larr", 8592},
    {"lceil", 8968},   {"ldquo", 8220},  {"le", 8804},     {"lfloor", 8970}, {"lowast", 8727},
    {"loz", 9674},     {"lrm", 8206},    {"lsaquo", 8249}, {"lsquo", 8216},  {"lt", 60},
    {"macr", 175},     {"mdash", 8212},  {"micro", 181},   {"middot", 183},  {"minus", 8722},
    {"mu", 956},       {"nabla", 8711},  {"nbsp", 160},    {"ndash", 8211},  {"ne", 8800},
    {"ni", 8715},      {"not", 172},     {"notin", 8713},  {"nsub", 8836},   {"ntilde", 241},
    {"nu", 957},       {"oacute", 243},  {"ocirc", 244},   {"oelig", 339},   {"ograve", 242},
    {"oline", 8254},   {"omega", 969},   {"omicron", 959}, {"oplus", 8853},  {"or", 8744},
    {"ordf", 170},     {"ordm", 186},    {"oslash", 248},  {"otilde", 245},  {"otimes", 8855},
    {"ouml", 246},     {"para", 182},    {"part", 8706},   {"permil", 8240}, {"perp", 8869},
    {"phi", 966},      {"pi", 960},      {"piv", 982},     {"plusmn", 177},  {"pound", 163},
    {"prime", 8242},   {"prod", 8719},   {"prop", 8733},   {"psi", 968},     {"quot", 34},
    {"rArr", 8658},    {"radic", 8730},  {"rang", 9002},   {"raquo", 187},   {"rarr", 8594},
    {"rceil", 8969},   {"rdquo", 8221},  {"real", 8476},   {"reg", 174},     {"rfloor", 8971},
    {"rho", 961},      {"rlm", 8207},    {"rsaquo", 8250}, {"rsquo", 8217},  {"sbquo", 8218},
    {"scaron", 353},   {"sdot", 8901},   {"sect", 167},    {"shy", 173},     {"sigma", 963},
    {"sigmaf", 962},   {"sim", 8764},    {"spades", 9824}, {"sub", 8834},    {"sube", 8838},
    {"sum", 8721},     {"sup", 8835},    {"sup1", 185},    {"sup2", 178},    {"sup3", 179},
    {"supe", 8839},    {"szlig", 223},   {"tau", 964},     {"there4", 8756}, {"theta", 952},
    {"thetasym", 977}, {"thinsp", 8201}, {"thorn", 254},   {"tilde", 732},   {"times", 215},
    {"trade", 8482},   {"uArr", 8657},   {"uacute", 250},  {"uarr", 8593},   {"ucirc", 251},
    {"ugrave", 249},   {"uml", 168},     {"upsih", 978},   {"upsilon", 965}, {"uuml", 252},
    {"weierp", 8472},  {"xi", 958},      {"yacute", 253},  {"yen", 165},     {"yuml", 255},
    {"zeta", 950},     {"zwj", 8205},    {"zwnj", 8204},
}};

constexpr size_t kMaxReferenceName = 9;

bool IsUsableCodePoint(char32_t cp) {
  return cp != 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

int DigitValue(char16_t c, int base) {
  int value = 99;
  if (c >= u'0' && c <= u'9') value = c - u'0';
  if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
  if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
  return value < base ? value : -1;
}

// "#N" or "#xN"; 0 when malformed. Digits are few (the name is at most nine
// characters), so the value cannot overflow.
char32_t NumericReference(std::u16string_view name) {
  size_t i = 1;
  int base = 10;
  if (name.size() > 1 && (name[1] == u'x' || name[1] == u'X')) {
    base = 16;
    i = 2;
  }
  if (i >= name.size()) return 0;
  char32_t value = 0;
  for (; i < name.size(); ++i) {
    const int digit = DigitValue(name[i], base);
    if (digit < 0) return 0;
    value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
  }
  return value;
}

}  // namespace

char32_t HtmlCharacterByName(std::u16string_view name) {
  char ascii[kMaxReferenceName + 1] = {};
  if (name.empty() || name.size() > kMaxReferenceName) return 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == 0 || name[i] > 0x7F) return 0;
    ascii[i] = static_cast<char>(name[i]);
  }
  const auto found = std::lower_bound(kNamedCharacters.begin(), kNamedCharacters.end(), ascii,
                                      [](const NamedCharacter& entry, const char* key) {
                                        return std::strcmp(entry.name, key) < 0;
                                      });
  if (found == kNamedCharacters.end() || std::strcmp(found->name, ascii) != 0) return 0;
  return found->codePoint;
}

void AppendDecodedXmlText(std::u16string& out, std::u16string_view text) {
  size_t copied = 0;
  for (size_t amp = text.find(u'&'); amp != std::u16string_view::npos;
       amp = text.find(u'&', amp + 1)) {
    const size_t semicolon = text.substr(amp + 1, kMaxReferenceName + 1).find(u';');
    if (semicolon == std::u16string_view::npos) continue;
    const std::u16string_view name = text.substr(amp + 1, semicolon);
    const char32_t cp =
        !name.empty() && name[0] == u'#' ? NumericReference(name) : HtmlCharacterByName(name);
    if (!IsUsableCodePoint(cp)) continue;
    out.append(text.substr(copied, amp - copied));
    AppendCodePoint(out, cp);
    copied = amp + 1 + semicolon + 1;
    amp = copied - 1;
  }
  out.append(text.substr(copied));
}
