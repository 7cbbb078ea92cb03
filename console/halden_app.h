// CHaldenApp: the application object. It runs the main console window as a
// modal dialog; when that ends, the program ends.
#pragma once

namespace console {

class CHaldenApp {
  public:
    // Runs the console; returns the process's exit code.
    int InitInstance();
};

}  // namespace console
