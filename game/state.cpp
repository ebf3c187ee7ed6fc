// The game state record and the names the rest of the game uses for it.
#include "game/state.h"

namespace vantrel {

GameVars game_vars;

int32_t& last_ms = game_vars.last_ms;
int32_t& now_ms = game_vars.now_ms;
int32_t& music_elapsed_ms = game_vars.music_elapsed_ms;
float& bird_x = game_vars.bird_x;
float& bird_y = game_vars.bird_y;
float& left_wing = game_vars.left_wing;
float& left_count = game_vars.left_count;
float& right_wing = game_vars.right_wing;
float& right_count = game_vars.right_count;
float& target_y = game_vars.target_y;
float& target_left = game_vars.target_left;
float& target_right = game_vars.target_right;
float& left_count_t = game_vars.left_count_t;
float& right_count_t = game_vars.right_count_t;
float& fatigue = game_vars.fatigue;
float& wind = game_vars.wind;
float& wind_target = game_vars.wind_target;
float& island_x = game_vars.island_x;
float& island_y = game_vars.island_y;
float& island_scale = game_vars.island_scale;

void set_followers()
{
    target_y = bird_y;
    target_left = left_wing;
    target_right = right_wing;
    left_count_t = left_count;
    right_count_t = right_count;
}

void reset_game_state()
{
    game_vars = GameVars{};
}

} // namespace vantrel
