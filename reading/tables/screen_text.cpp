// The parts of file names and web addresses. File extensions: the common document, picture,
// sound, video and archive formats; each is read as Turkish speakers say it, mostly spelled
// with the Turkish letter names ("pe de fe"), a few as a word ("zip", "rar"). Web words: "www"
// as Turkish speakers say it ("ve ve ve"), the generic and the common country top-level domains
// (IANA's root zone list), and the schemes.
#include <algorithm>

#include "reading/reading_tables.h"

namespace orvanel::reading {

namespace {

// clang-format off
constexpr Expansion kFileExtensions[] = {
    {"pdf", "pe de fe"}, {"doc", "dok"}, {"docx", "dok iks"}, {"xls", "iks le se"},
    {"xlsx", "iks le se iks"}, {"ppt", "pe pe te"}, {"pptx", "pe pe te iks"},
    {"txt", "te iks te"}, {"rtf", "re te fe"}, {"odt", "o de te"}, {"ods", "o de se"},
    {"csv", "ce se ve"}, {"xml", "iks me le"}, {"json", "ceysın"}, {"html", "he te me le"},
    {"htm", "he te me"}, {"css", "ce se se"}, {"jpg", "je pe ge"}, {"jpeg", "jeypeg"},
    {"png", "pe ne ge"}, {"gif", "gif"}, {"svg", "se ve ge"}, {"bmp", "be me pe"},
    {"mp3", "me pe üç"}, {"mp4", "me pe dört"}, {"wav", "vav"}, {"avi", "avi"},
    {"mkv", "me ke ve"}, {"mov", "mov"}, {"ogg", "ogg"}, {"zip", "zip"}, {"rar", "rar"},
    {"gz", "ge ze"}, {"tar", "tar"}, {"exe", "e iks e"}, {"deb", "deb"}, {"iso", "iso"},
    {"apk", "a pe ke"}, {"epub", "e pub"}, {"srt", "se re te"}, {"log", "log"},
};

constexpr Expansion kWebWords[] = {
    {"www", "ve ve ve"}, {"http", "he te te pe"}, {"https", "he te te pe se"},
    {"ftp", "fe te pe"}, {"com", "kom"}, {"org", "org"}, {"net", "net"}, {"edu", "edu"},
    {"gov", "gov"}, {"mil", "mil"}, {"info", "info"}, {"biz", "biz"}, {"io", "i o"},
    {"ai", "a i"}, {"app", "ep"}, {"dev", "dev"}, {"co", "ko"}, {"me", "me"}, {"tv", "te ve"},
    {"tr", "te re"}, {"uk", "u ke"}, {"de", "de"}, {"eu", "e u"}, {"fr", "fe re"},
    {"nl", "ne le"}, {"ru", "re u"}, {"az", "a ze"},
};
// clang-format on

}  // namespace

std::span<const Expansion> FileExtensions() { return kFileExtensions; }
std::span<const Expansion> WebWords() { return kWebWords; }

bool IsTopLevelDomain(std::string_view lower) {
  if (lower == "www" || lower == "http" || lower == "https" || lower == "ftp") return false;
  return std::any_of(std::begin(kWebWords), std::end(kWebWords),
                     [&](const Expansion& e) { return e.written == lower; });
}

}  // namespace orvanel::reading
