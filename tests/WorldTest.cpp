#include "TestGame.h"
#include "shell/GameState.h"

TEST(Placeholder, StartScreenThenSpaceStartsTheRun) {
    TestGame t;
    t.pressKey(SDL_SCANCODE_SPACE);
    EXPECT_EQ(t.pass(), PassResult::Continue);
    EXPECT_EQ(GameState, State::Playing);
    EXPECT_EQ(t.canvas.at(80, 77), kWhite);
    EXPECT_NE(t.takeOutput().find("State: 1"), std::string::npos);
}
