// One typed word (two or more letters) to PhoneticText: the soft g and x are rewritten, letter
// case is set to show syllable onsets and codas, and "~" marks the consonants of front-vowel
// syllables. Examples are shown in readable letters; the strings hold Windows-1254 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvanel::frontend {

// "kitap" -> "~KiTap", "güzel" -> "~GüZe~l", "değil" -> "~DeE^İ~l", "KİTAP" -> "~KİTAp"
std::string TranscribeWord(std::string_view word);
// TranscribeWord(word) appended to out; scratch is working space whose content is overwritten
// (pass the same string for many words to avoid allocating).
void AppendTranscribedWord(std::string_view word, std::string& scratch, std::string& out);

// "x" -> "ks", "X" -> "Ks"; a soft g after a vowel becomes that vowel and "^", elsewhere it
// disappears: "dağ" -> "daa^", "ğa" -> "a".
std::string RewriteLetters(std::string_view word);
void AppendRewrittenLetters(std::string_view word, std::string& out);

// Sets letter case in place: a consonant is upper case at the start of the word or before a
// non-consonant, else lower case; a vowel is upper case at the start or after a non-consonant,
// else it keeps its case. "kitap" -> "KiTap", "saat" -> "SaAt".
void MarkSyllables(std::string& word);

// Cuts the syllable that starts at position: from that character to just before the next
// upper-case letter. deciding_vowel is the last vowel examined, or '\0' when there is none.
// False at the end of the word (position at its end or at a zero byte).
bool NextSyllable(std::string_view word, std::size_t& position, std::string& syllable,
                  char& deciding_vowel);

// "KiTap" -> "~KiTap", "GüZel" -> "~GüZe~l"
std::string MarkFrontConsonants(std::string_view word);
void AppendFrontMarked(std::string_view word, std::string& out);

// "~" and letter when the consonant's slot sounds different before front vowels, else letter.
std::string FrontMarkConsonant(int consonant_index, char letter);

}  // namespace orvanel::frontend
