// The player's ship: turning, thrust, flight, drawing and its loss.
#pragma once

void TurnShip();        // Left and Right, in every state
void ThrustShip();      // Up, only while the ship can be flown
void PlaceShipPoints(); // the model rotated to ShipAngle at the ship's position
void FlyShip();         // speed limit, move, wrap and draw
void LoseShip();        // a hit during play: debris, one life less, back to the centre
