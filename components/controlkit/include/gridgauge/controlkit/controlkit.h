#pragma once

namespace controlkit {

// Registers "ControlKit.ProgressBar" and "ControlKit.Label" with the host's control registry.
void registerControls();

} // namespace controlkit
