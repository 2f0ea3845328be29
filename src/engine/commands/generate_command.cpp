// Game > Generate.
#include "commands/generate_command.h"

#include "generation/generator.h"
#include "host/messages.h"

namespace kavrin {

void GenerateCommand(Board& board, Candidates& candidates, UniformSource& random, WaitWindow& wait,
                     Prompter& prompter)
{
    wait.ShowWait(false);
    const int failed = GeneratePuzzle(board, candidates, random);
    wait.unloadWait();
    prompter.ask(generateResultMessage(failed));
}

} // namespace kavrin
