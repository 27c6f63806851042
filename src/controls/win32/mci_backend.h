// The media player's Win32 back end: the Media Control Interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/media_player.h"

// The back end the program's media players use. Creates a hidden window
// that receives the completion notices, so the player must be used on the
// thread that created it, and that thread must dispatch its messages.
std::unique_ptr<TMediaBackend> CreateMciBackend();

// The system's text for an MCI error code, or "Unknown error code".
std::wstring MciErrorText(std::uint32_t errorCode);
