// Lexilla's static-linking entry points (Lexilla.h) over the lexers of one
// source file, LexHTML.cxx: "xml", and the "hypertext" and "phpscript"
// lexers that live beside it. It stands in for Lexilla's own
// src/Lexilla.cxx, whose catalogue names every lexer Lexilla has and so
// would pull all of them into the program. CreateLexer("xml") gives the
// lexer to hand to SCI_SETILEXER.

#include <cstring>
#include <initializer_list>
#include <vector>

// Lexilla's headers need this order.
// clang-format off
#include "ILexer.h"
#include "Lexilla.h"
#include "LexerModule.h"
#include "CatalogueModules.h"
// clang-format on

using Lexilla::LexerModule;

extern LexerModule lmHTML;
extern LexerModule lmXML;
extern LexerModule lmPHPSCRIPT;

namespace {

const Lexilla::CatalogueModules& catalogue() {
  static const Lexilla::CatalogueModules modules = [] {
    Lexilla::CatalogueModules c;
    // One by one: GCC 12 warns falsely about the vector's range insert.
    for (LexerModule* module : {&lmHTML, &lmXML, &lmPHPSCRIPT}) c.AddLexerModule(module);
    return c;
  }();
  return modules;
}

}  // namespace

extern "C" {

int LEXILLA_CALL GetLexerCount() { return static_cast<int>(catalogue().Count()); }

void LEXILLA_CALL GetLexerName(unsigned int index, char* name, int buflength) {
  if (buflength <= 0) return;
  *name = 0;
  const char* lexerName = catalogue().Name(index);  // "" past the end
  if (static_cast<std::size_t>(buflength) > std::strlen(lexerName)) std::strcpy(name, lexerName);
}

LexerFactoryFunction LEXILLA_CALL GetLexerFactory(unsigned int index) {
  return index < catalogue().Count() ? catalogue().Factory(index) : nullptr;
}

Scintilla::ILexer5* LEXILLA_CALL CreateLexer(const char* name) {
  if (!name) return nullptr;
  for (unsigned int i = 0; i < catalogue().Count(); ++i) {
    if (std::strcmp(catalogue().Name(i), name) == 0) return catalogue().Create(i);
  }
  return nullptr;
}

const char* LEXILLA_CALL LexerNameFromID(int identifier) {
  const LexerModule* module = catalogue().Find(identifier);
  return module ? module->languageName : nullptr;
}

const char* LEXILLA_CALL GetLibraryPropertyNames() { return ""; }

void LEXILLA_CALL SetLibraryProperty(const char*, const char*) {}

const char* LEXILLA_CALL GetNameSpace() { return "lexilla"; }

}  // extern "C"
