#include "library/text_feed.h"

#include <algorithm>

namespace orvanel::library {

TextFeed::TextFeed(bool phraseMarks, prosody::StressCache* stressMemo)
    : phraseMarks_(phraseMarks),
      stress_(stressMemo != nullptr ? std::make_unique<prosody::StressTranscriber>(true, stressMemo)
                                    : nullptr) {}

void TextFeed::Append(Piece& piece) {
  const std::vector<std::uint64_t>& origin = piece.origin;
  const std::size_t typed = piece.cp1254.size();
  // An exact piece maps every rewritten byte to its input offset; any other piece (the reading
  // stage rewrote it) maps as a whole.
  const bool mapped = piece.exact && origin.size() == typed + 1;
  // Lines and columns of the runs, counted along the typed bytes as the runs come.
  // The typed bytes are read before the escapes are rewritten over them.
  const std::string typedText = mapped ? piece.cp1254 : std::string();
  TextPlace place{piece.line, piece.column};
  std::size_t counted = 0;
  auto placeOf = [&](std::size_t typedOffset) {
    const std::string_view bytes(typedText);
    for (; counted < typedOffset && counted < bytes.size(); ++counted) {
      if (bytes[counted] == '\n') {
        ++place.line;
        place.column = 1;
      } else if (bytes[counted] != '\r') {
        ++place.column;
      }
    }
    return place;
  };
  std::string& text = piece.cp1254;
  auto convert = [&](const frontend::Run& run) {
    if (stress_) {
      stress_->AppendRun(run, phonetic_);
    } else {
      frontend::AppendRun(run, scratch_, phonetic_);
    }
    RunOrigin o{base_ + phonetic_.size(), piece.begin, piece.end, {piece.line, piece.column}};
    if (mapped) {
      const std::uint32_t from = source_[run.begin];
      o.inputBegin = origin[from];
      o.inputEnd = origin[source_[run.end]];
      o.place = placeOf(from);
    }
    origins_.push_back(o);
  };
  frontend::ForEachRun(text, convert, &source_);
}

void TextFeed::AppendPhonetic(std::string_view phonetic) {
  const std::uint64_t begin = base_ + phonetic_.size();
  phonetic_.append(phonetic);
  origins_.push_back({base_ + phonetic_.size(), begin, begin + phonetic.size(), {1, 1}});
}

std::vector<TextFeed::RunOrigin>::const_iterator TextFeed::OriginOf(std::uint64_t at) const {
  return std::upper_bound(origins_.begin(), origins_.end(), at,
                          [](std::uint64_t v, const RunOrigin& o) { return v < o.phoneticEnd; });
}

void TextFeed::Range(std::uint64_t from, std::uint64_t to, std::size_t& begin,
                     std::size_t& end) const {
  auto first = OriginOf(from);
  if (first == origins_.end()) {
    begin = end = origins_.empty() ? 0 : static_cast<std::size_t>(origins_.back().inputEnd);
    return;
  }
  auto last =
      std::lower_bound(origins_.begin(), origins_.end(), to,
                       [](const RunOrigin& o, std::uint64_t v) { return o.phoneticEnd < v; });
  if (last == origins_.end()) last = origins_.end() - 1;
  begin = static_cast<std::size_t>(first->inputBegin);
  end = static_cast<std::size_t>(std::max(last->inputEnd, first->inputBegin));
}

TextPlace TextFeed::Locate(std::uint64_t at) const {
  auto o = OriginOf(at);
  if (o == origins_.end()) return origins_.empty() ? TextPlace{} : origins_.back().place;
  return o->place;
}

void TextFeed::Drop(std::uint64_t upTo) {
  const std::size_t n = static_cast<std::size_t>(upTo - base_);
  phonetic_.erase(0, n);
  base_ = upTo;
  origins_.erase(origins_.begin(), OriginOf(upTo));
}

bool TranscribeText(std::string_view text, TextEncoding encoding,
                    std::optional<reading::ReadingOptions> reading,
                    prosody::StressCache* stressMemo, std::string& phonetic, std::string& error) {
  if (encoding != TextEncoding::kUtf8) reading.reset();
  TextPieces pieces(encoding, reading);
  pieces.Add(text, true);
  TextFeed feed(reading.has_value(), stressMemo);
  Piece piece;
  while (pieces.Next(piece)) {
    if (!piece.valid) {
      error = InvalidInputText(piece.errorOffset);
      return false;
    }
    feed.Append(piece);
  }
  phonetic.append(feed.Pending());
  return true;
}

std::string InvalidInputText(std::uint64_t offset) {
  return "input is not valid UTF-8 (byte offset " + std::to_string(offset) + ")";
}

}  // namespace orvanel::library
