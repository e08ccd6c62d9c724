#pragma once

struct Entity;

// The Flee state's decision: call the team onto the threat, then hide or run straight away
// from it. The two flags say which health check sent the soldier here this decision.
void decideFlee(Entity& e, bool pursuedWhenHurt, bool targetedWhenBadlyHurt);
