#pragma once

#include <optional>
#include <string>

// The enquiry pages of licences and assessment-tax accounts, and the map tiles the emulator serves.
namespace EmulatorPages {

// Any account of letters, digits and "-" (up to 30) is known and gets a page of made-up but stable details;
// none for any other, which the service answers as an unknown account.
std::optional<std::string> licencePage(const std::string& account);
std::optional<std::string> taxPage(const std::string& account);

// A 256 x 256 PNG for tile z/x/y: streets on a plain ground, different for every tile; none outside the
// world.
std::optional<std::string> tilePng(int zoom, int x, int y);

} // namespace EmulatorPages
