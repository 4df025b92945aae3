#pragma once

namespace orvx::views {

// Plugs every page class into the page table. Called once when the module makes its first
// control; later calls change nothing.
void RegisterPages();

}  // namespace orvx::views
