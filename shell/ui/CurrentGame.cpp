#include "shell/ui/CurrentGame.h"

#include <utility>

#include "game/GameApp.h"

CurrentGame::CurrentGame(std::unique_ptr<GameApp> first)
    : owned(std::move(first)), game(owned.get()) {}

CurrentGame::CurrentGame(GameApp& first) : game(&first) {}

CurrentGame::~CurrentGame() = default;

GameApp& CurrentGame::Replace(const std::function<void(GameApp&)>& start) {
    // The old game's window stays: only what the game is made of is new,
    // and the new game releases the window in the end.
    SDL_Window* window = std::exchange(game->window, nullptr);
    SDL_GLContext context = std::exchange(game->glContext, nullptr);
    const bool sdlStarted = std::exchange(game->sdlStarted, false);
    GameListener* listener = std::exchange(game->listener, nullptr);
    StarPainter* starPainter = std::exchange(game->starPainter, nullptr);
    // The old game goes before the new one is made, as its objects always did.
    owned.reset();
    owned = std::make_unique<GameApp>();
    game = owned.get();
    game->window = window;
    game->glContext = context;
    game->sdlStarted = sdlStarted;
    start(*game);
    // What the shell attached goes on with the new game.
    game->listener = listener;
    game->starPainter = starPainter;
    return *game;
}
