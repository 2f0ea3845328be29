// Game > New and Game > Clear blue numbers.
#include "commands/game_commands.h"

#include "host/messages.h"
#include "model/colour.h"
#include "model/square.h"

namespace kavrin {

void NewGame(Board& board, Prompter& prompter)
{
    if (prompter.ask(newGameQuestion()) != Answer::Yes)
        return;
    for (int s = 1; s <= kSquareCount; ++s)
        board.SetSquare(s, 0, true, kWhite);
}

void ClearBlueNumbers(Board& board)
{
    for (int s = 1; s <= kSquareCount; ++s)
        if (!board[s].Fixed)
            board.SetSquare(s, 0, true, kWhite);
}

} // namespace kavrin
