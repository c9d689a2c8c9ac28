// SPDX-License-Identifier: MIT
// The core as the web page sees it: one exported call, tressin_calculate,
// runs calc::Calculate with the page as its view (the page's input boxes
// are read and its result box written through the EM_JS functions below),
// then tells the page which boxes to mark and why, with the same words and
// rules as the desktop window.
#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <string>

#include "calc/calculate.h"
#include "ui/control_table.h"
#include "ui/texts.h"

// The page object is handed to the module factory as Module.page. Strings
// come back as UTF-8 in malloc'd memory that the caller frees.
#ifdef EM_JS_DEPS
// Newer Emscriptens keep their string helpers out unless asked (older ones
// always carry them, and take library-funcs.json).
EM_JS_DEPS(tressin_page, "$UTF8ToString,$stringToNewUTF8");
#endif
EM_JS(char*, page_unit_text, (int row), { return stringToNewUTF8(Module.page.unitText(row)); });
EM_JS(char*, page_entry_text, (int row), { return stringToNewUTF8(Module.page.entryText(row)); });
EM_JS(void, page_set_result_text, (const char* text), { Module.page.setResultText(UTF8ToString(text)); });
EM_JS(void, page_clear_marks, (), { Module.page.clearMarks(); });
EM_JS(void, page_mark, (const char* control, const char* problem, const char* tooltip), {
  Module.page.mark(UTF8ToString(control), UTF8ToString(problem), UTF8ToString(tooltip));
});

namespace {

std::string Take(char* utf8) {
  std::string s(utf8 != nullptr ? utf8 : "");
  std::free(utf8);
  return s;
}

class PageView final : public calc::LiftView {
 public:
  [[nodiscard]] std::string UnitText(calc::Row row) const override {
    return Take(page_unit_text(static_cast<int>(calc::Index(row))));
  }
  [[nodiscard]] std::string EntryText(calc::Row row) const override {
    return Take(page_entry_text(static_cast<int>(calc::Index(row))));
  }
  void SetResultText(std::string_view text) override { page_set_result_text(std::string(text).c_str()); }
};

calc::LiftQuantities quantities;  // kept between clicks, as the window keeps them

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void tressin_calculate() {
  PageView view;
  const calc::CalculationOutcome outcome = calc::Calculate(view, quantities);
  page_clear_marks();
  if (outcome.written) return;
  for (const ui::FailureMark& mark : ui::FailureMarks(outcome)) {
    std::string_view usual;
    for (const ui::ControlRow& row : ui::kControls) {
      if (row.name == mark.control) usual = row.tooltip;
    }
    page_mark(std::string(mark.control).c_str(), std::string(mark.problem).c_str(),
              ui::MarkedTooltip(usual, mark.problem).c_str());
  }
  page_set_result_text(ui::ReasonText(outcome).c_str());
}

}  // extern "C"
