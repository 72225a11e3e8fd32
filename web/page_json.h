// page_json.h - what the page's JavaScript is handed: the page session's
// state, its table of lights and its page of changes, as JSON text. Every
// string in it is valid UTF-8 (a text that is not is read as cp1252, as the
// scene's names are), so that the page shows each byte as some character.
#ifndef VANTOREL_WEB_PAGE_JSON_H
#define VANTOREL_WEB_PAGE_JSON_H

#include <string>
#include <string_view>

#include "session/shell_logic.h"
#include "web/page_session.h"

namespace web {

// A JSON string literal, quotes included.
std::string jsonString(std::string_view text);

// {"scene":{"name","builtIn","lights"}, "status","statusIsError","saveNotes",
//  "unsaved","unsavedWarning","canSave","saveNote","asking","question",
//  "run":{"number","outcome":"ok"|"cancel"|null,"result","commands","transcript","script","exitStatus"},
//  "canRecord"}
std::string stateJson(const PageSession &page);
// [{"name","type","intensity","r","g","b","shadow","range","limited","animated":["intensity",...]}, ...]
// Intensity ("80%") and range are the texts the shell's table shows.
std::string rowsJson(const PageSession &page);
// {"title","lines"}
std::string changesJson(const session::ShellChanges &changes);

}  // namespace web

#endif
