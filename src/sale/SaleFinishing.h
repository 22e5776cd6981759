#pragma once
// Finishing the sale on the screen, without a window. Where the sale goes is
// decided here, so every way of finishing (the sale screen, the touch screen)
// obeys the same rule: a new sale is appended as sale N, a stored sale being
// edited is written back over its own record.

class SaleState;

class SaleFinishing {
public:
    struct Target {
        bool append = true;
        int recordNumber = 0;  // N when appending, else the edited sale's number
    };

    explicit SaleFinishing(const SaleState& state) : state_(state) {}

    // Only the sale being rung up (or edited) on the screen can be finished.
    bool CanFinish() const;
    Target target() const;

private:
    const SaleState& state_;
};
