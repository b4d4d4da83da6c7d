#pragma once

// The desktop's own keyboard-shortcut settings, where the user can bind
// "tarnwick --toggle" to a key.
namespace KeyboardSettings {

// Starts the first settings program found for the running desktop; does
// nothing when there is none.
void open();

}  // namespace KeyboardSettings
