#pragma once

// The camera of the park view. Only what the park rules use of it so far: its busy word, the
// followed animal or visitor, and the reset that ends following.

class DataAnimal;
class OnePerson;

class GameCamera {
public:
    GameCamera() = default;

    // Nonzero while the camera glides to a point; the park tests no achievement then.
    int isBusy() const { return mGliding; }
    // Stops the camera's motion and ends following.
    void reset();

    int mGliding = 0;
    DataAnimal* mFollowAnimal = nullptr;
    OnePerson* mFollowPerson = nullptr;
};
