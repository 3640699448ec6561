// The vehicle calls. Each sends the session's token first and returns a TMYResult.
#pragma once

#include <atomic>
#include <string>

#include "Korvane/FleetList.h"
#include "Korvane/TMYResult.h"

namespace Korvane {

// "used_priority" for 0, "location_priority" for 1, "seat_priority" for any other index.
std::string SortByValue(int sort_index);

// Edits the vehicle when mode is 2 ("/car/edit"), adds it otherwise ("/car/add").
TMYResult SaveCar(const TCar& car, int mode);

TMYResult DeleteCar(const std::string& register_contact_number, const std::string& plate_number);

// One page of up to 999 vehicles into `out`, which is reset first and holds a list only when
// the whole page was read.
TMYResult GetCarPage(const std::string& register_contact_number, int page_no, int sort_index, TCars& out);

// Appends pages 2 and up to `cars` until the last page, a page without a list, or `stop`.
// Touches nothing but `cars`.
TCars& LoadMorePages(const std::string& register_contact_number, TCars& cars, int sort_index,
                     const std::atomic<bool>* stop = nullptr);

// Locates the vehicle now (a charged request). On success `detail` is the position; a listed
// vehicle takes the position and the client's time, and the session the new balance.
TMYResult LocateCar(const std::string& register_contact_number, const std::string& plate_number);

// Asks the service to send the authorisation SMS. request_times is -1 once an answer arrived
// that does not carry it, and untouched when no answer arrived.
TMYResult OpenLocate(const std::string& register_contact_number, const std::string& plate_number,
                     int& request_times);

// locate_status: 1 when locating is opened; -1 as for OpenLocate.
TMYResult GetLocateStatus(const std::string& register_contact_number, const std::string& plate_number,
                          int& locate_status);

// Reads a /car/list body as GetCarPage does; throws the call layer's failure kinds.
TMYResult ReadCarPage(const std::string& body, int page_no, TCars& out);

}  // namespace Korvane
