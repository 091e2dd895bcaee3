#pragma once
// A move as the board shows it: the tiles of the move leave their old cells and glide into their
// new ones over a short time on the clock, eased to rest. The game has already made the move; the
// slide only says where each tile is drawn meanwhile.

#include "game/Game.h"

#include <cstdint>

class TTileSlide {
public:
    TTileSlide(const TMove& move, int n, std::int64_t start, int durationMs);

    // The gap the move left: the cell of the tile clicked.
    int Gap() const { return move_.From; }
    // Whether the tile now at cell p is still on its way there.
    bool Carries(int p) const;
    // How far, in cells, the moving tiles are from their new cells at `now`, along the slide: 1
    // at the start, 0 once over, falling fast at first and slowly at the end.
    double Remaining(std::int64_t now) const;
    bool Over(std::int64_t now) const { return now >= start_ + duration_; }
    // The direction the tiles move in, in cells: one of (-1, 0), (1, 0), (0, -1), (0, 1).
    int Dx() const { return dx_; }
    int Dy() const { return dy_; }

private:
    TMove move_;
    int n_;
    std::int64_t start_;
    int duration_;
    int dx_ = 0;
    int dy_ = 0;
};
