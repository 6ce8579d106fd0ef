# Links <prefix>/share/games/gravimel/fonts/arial.ttf to the system's Liberation Sans, at install time when the
# prefix is known: a relative link where the font lies under the same prefix (/usr, as Debian wants), an absolute
# one elsewhere (/usr/local). GRAVIMEL_FONT_SOURCE is set by the install rule that runs this script.
set(fonts "${CMAKE_INSTALL_PREFIX}/share/games/gravimel/fonts")
string(FIND "${GRAVIMEL_FONT_SOURCE}" "${CMAKE_INSTALL_PREFIX}/" at)
if(at EQUAL 0)
  file(RELATIVE_PATH target "${fonts}" "${GRAVIMEL_FONT_SOURCE}")
else()
  set(target "${GRAVIMEL_FONT_SOURCE}")
endif()
message(STATUS "Installing: $ENV{DESTDIR}${fonts}/arial.ttf -> ${target}")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${fonts}")
file(CREATE_LINK "${target}" "$ENV{DESTDIR}${fonts}/arial.ttf" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${fonts}/arial.ttf")
