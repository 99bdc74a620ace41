#include "library/text_pieces.h"

#include "codepage/codepage.h"
#include "library/reading_stage.h"

namespace orvanel::library {

namespace {

bool IsAsciiLetterOrDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The length of the UTF-8 sequence that starts with lead (the text is valid UTF-8).
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

// A UTF-8 byte that continues a character.
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t LastRunBreak(std::string_view text, std::size_t limit) {
  if (limit > text.size()) limit = text.size();
  bool backslash = false;     // the previous byte began an escape
  bool passage = false;       // inside a brace passage
  bool symbolBefore = false;  // the previous character is an ASCII symbol of a symbol run
  std::size_t best = 0;
  for (std::size_t p = 0; p < limit; ++p) {
    const auto c = static_cast<unsigned char>(text[p]);
    if (!backslash && !passage && symbolBefore && p > 0 && IsAsciiLetterOrDigit(c)) best = p;
    if (backslash) {
      // An escaped character may become a Turkish letter: never a symbol to cut after.
      backslash = false;
      symbolBefore = false;
      if (passage && (c == '}' || c == '\r'))
        passage = false;
      else if (!passage && c == '{')
        passage = true;
      continue;
    }
    if (c == '\\') {
      backslash = true;
      symbolBefore = false;
      continue;
    }
    if (passage) {
      if (c == '}' || c == '\r') passage = false;
      symbolBefore = false;
      continue;
    }
    if (c == '{') {
      passage = true;
      symbolBefore = false;
      continue;
    }
    symbolBefore = c < 0x80 && !IsAsciiLetterOrDigit(c) && c != '}' && c != '\r' && c != 0;
  }
  return best;
}

void TextPieces::Add(std::string_view bytes, bool atEnd) {
  if (!done_) {
    // The pieces handed out so far are dropped only here, so that cutting stays linear.
    pending_.erase(0, head_);
    head_ = 0;
    pending_.append(bytes);
  }
  atEnd_ = atEnd_ || atEnd;
}

std::size_t TextPieces::Cut() const {
  const std::string_view rest = std::string_view(pending_).substr(head_);
  const char lineEnd = encoding_ == TextEncoding::kUtf8 ? '\n' : '\r';
  const std::size_t at = rest.find(lineEnd);
  if (at != std::string_view::npos && at < kLongestPiece) return at + 1;
  if (at != std::string_view::npos || rest.size() >= kLongestPiece) {
    // A line too long to hold as one piece.
    if (const std::size_t cut = LastRunBreak(rest, kLongestPiece); cut > 0) return cut;
    if (at != std::string_view::npos) return at + 1;
  }
  return atEnd_ ? rest.size() : 0;
}

bool TextPieces::Next(Piece& piece) {
  if (done_) return false;
  const std::string_view rest = std::string_view(pending_).substr(head_);
  std::size_t cut = Cut();
  if (cut == 0 && !(atEnd_ && rest.empty())) return false;
  bool last = atEnd_ && cut == rest.size();
  if (encoding_ == TextEncoding::kCp1254) {
    // A zero byte ends the text.
    if (const std::size_t zero = rest.find('\0'); zero < cut) {
      cut = zero;
      last = true;
    }
  }
  piece = Piece{};
  piece.begin = base_;
  piece.end = base_ + cut;
  piece.last = last;
  piece.line = line_;
  piece.column = column_;
  Convert(rest.substr(0, cut), piece);
  for (const char c : rest.substr(0, cut)) {
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if (c != '\r' && (encoding_ == TextEncoding::kCp1254 || !IsContinuation(c))) {
      ++column_;
    }
  }
  head_ += cut;
  base_ += cut;
  if (last || !piece.valid) done_ = true;
  return true;
}

void TextPieces::Convert(std::string_view bytes, Piece& piece) const {
  if (encoding_ == TextEncoding::kCp1254) {
    piece.cp1254.assign(bytes);
    piece.exact = true;
    piece.origin.resize(bytes.size() + 1);
    for (std::size_t k = 0; k <= bytes.size(); ++k) piece.origin[k] = piece.begin + k;
    return;
  }
  codepage::DecodeError bad;
  if (!codepage::Utf8ToCp1254(bytes, piece.cp1254, bad)) {
    piece.valid = false;
    piece.errorOffset = piece.begin + bad.offset;
    piece.cp1254.clear();
    return;
  }
  if (reading_) {
    const std::string read = ReadForFrontEnd(bytes, *reading_);
    if (read != bytes) {
      if (!codepage::Utf8ToCp1254(read, piece.cp1254, bad)) piece.cp1254.clear();
      return;  // maps as a whole
    }
  }
  // Every code point is one byte of the code page, but a bare line feed gains a carriage return.
  piece.origin.reserve(piece.cp1254.size() + 1);
  bool afterCarriageReturn = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead == '\n' && !afterCarriageReturn) piece.origin.push_back(piece.begin + i);
    piece.origin.push_back(piece.begin + i);
    afterCarriageReturn = lead == '\r';
    i += SequenceLength(lead);
  }
  piece.origin.push_back(piece.end);
  piece.exact = piece.origin.size() == piece.cp1254.size() + 1;
}

}  // namespace orvanel::library
