// The document properties every package carries, as Office writes them: the core properties
// (who made the document and when, docProps/core.xml) and the application's (docProps/app.xml),
// each reached by its package relationship and given its content type.
#pragma once

#include <ctime>
#include <string>

#include "officeexport/ooxml_package.h"

namespace tarnwell {

// The creator and the application the properties name.
inline constexpr const char* properties_author = "Tarnwell";

// A time in UTC as W3CDTF, the form the core properties take: "2026-01-31T09:05:00Z".
std::string w3cdtf_time(std::time_t time);

// Writes both parts as of `now`: an export is a new document, made and last changed by Tarnwell
// then. What a template's parts say of the document itself (title, subject, keywords,
// description, category, status, language, identifier; company, manager, link base) is kept;
// what belongs to the template's own life (its author, times, revisions, printing, the counts
// and titles of its parts) is not. Parts the package relates but lacks or cannot read are
// written where the relationship says.
void set_package_properties(ooxml_package& package, std::time_t now);

}  // namespace tarnwell
