// The title and the texts of every message box and report the program shows, each defined
// once: what the commands, the search and the file routes say. Words that belong to one widget
// (menu captions, the panel's hint, the window title's tail) stay with that widget.
#pragma once

#include "host/host.h"

#include <string>
#include <string_view>

namespace kavrin {

// Three words joined by no-break spaces.
inline constexpr std::string_view kTitle = "Ka\u00A0Vr\u00A0In";
inline constexpr std::string_view kCrLf = "\r\n";

inline constexpr std::string_view kPleaseWait = "Please wait...";
inline constexpr std::string_view kPressEscToCancel = "Press Esc to cancel";

// The last-attempt question, in Persian (yeh is U+064A).
inline constexpr std::string_view kLastAttemptStatement =
    "\u0627\u064A\u0646 \u067E\u0627\u0632\u0644 \u0628\u0627 \u0627\u0644\u06AF\u0648\u0631\u064A\u062A\u0645 "
    "\u0647\u0627\u064A \u0633\u0627\u062F\u0647 \u064A \u0627\u064A\u0646 \u0646\u0631\u0645 \u0627\u0641\u0632\u0627\u0631 "
    "\u0642\u0627\u0628\u0644 \u062D\u0644 \u0646\u0645\u064A \u0628\u0627\u0634\u062F";
inline constexpr std::string_view kLastAttemptQuestion =
    "\u0622\u064A\u0627 \u0645\u0627\u064A\u0644\u064A\u062F \u0628\u0631\u0646\u0627\u0645\u0647 \u0622\u062E\u0631\u064A\u0646 "
    "\u062A\u0644\u0627\u0634 \u062E\u0648\u062F \u0631\u0627 \u0628\u0631\u0627\u064A \u062D\u0644 \u0627\u064A\u0646 "
    "\u067E\u0627\u0632\u0644 \u0627\u0646\u062C\u0627\u0645 \u062F\u0647\u062F";

Message lastAttemptQuestion();
Message information(std::string_view text);
Message exclamation(std::string_view text);

inline constexpr std::string_view kPuzzleSolved = "Puzzle solved.";
inline constexpr std::string_view kThisPuzzleIsSolved = "This puzzle is solved.";
inline constexpr std::string_view kPleaseCheckEntries = "Please check entries.";
inline constexpr std::string_view kPleaseCheckLogicality = "Please check logicality.";
inline constexpr std::string_view kFinishedMyWork = "I finished my work.";
inline constexpr std::string_view kReady = "Ready.";

// "N Retry!" for one failed attempt, "N Retries!" otherwise; "Ready." after none.
Message generateResultMessage(int failedAttempts);

// The units of the completion report. Its messages call a block a "square", named by block row
// and block column.
enum class UnitKind { Block, Row, Column };

// "Error at row 3 for 2 times." and so on; the unit numbered from 1 as the report walks them.
std::string absentDigitsLine(UnitKind kind, int unit, int absent);

// The Check Diagram report: the repeated digits, the dead squares, then "Puzzle solved." or the
// completion report under "Correct this errors:".
std::string checkDiagramText(int entries, int logical, int absent, std::string_view completionReport);

// What a failed Save says, naming the file and giving the system's reason. A failed load says
// nothing.
std::string cannotSaveText(std::string_view path, std::string_view reason);
Message newGameQuestion();
Message aboutMessage();

// The window's files: the recent list and its items. Paths and reasons come in UTF-8.

// "<path> not found!", then "Remove it?".
Message recentFileMissingQuestion(std::string_view path);
std::string recentListUnreadable(std::string_view listFile, std::string_view reason);
std::string recentListUnwritable(std::string_view listFile, std::string_view reason);
// A path the list file cannot hold as one quoted field.
std::string notListable(std::string_view path);

} // namespace kavrin
