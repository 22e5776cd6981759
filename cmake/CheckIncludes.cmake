# Refuses an include that climbs: run at every build (cmake -P) over src/.
#
# Storage rooms, lowest first: records (layouts and the byte codec), io (opening,
# locks, the lock queue, the share check), journal (transactions and recovery),
# files (each file kind's operations). A room includes only itself and the rooms
# below it. Domain logic in the subsystem folders sees storage and other domain
# logic, never the platform, a window (C...Dlg, C...Printer, ...Widget) or the
# application. The platform layer sees storage, the print canvas and domain
# logic, never a window or the application.
if(NOT SRC OR NOT IS_ABSOLUTE "${SRC}")
  message(FATAL_ERROR "CheckIncludes: pass -DSRC=<absolute source folder>")
endif()

set(records_allows "storage/records/")
set(io_allows "storage/records/;storage/io/")
set(journal_allows "storage/records/;storage/io/;storage/journal/")
set(files_allows "storage/")
set(canvas_allows "print/canvas/")

set(failures "")
file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
foreach(source IN LISTS sources)
  set(allows "")
  set(domain FALSE)
  set(platform FALSE)
  if(source MATCHES "^storage/(records|io|journal|files)/")
    set(allows "${${CMAKE_MATCH_1}_allows}")
  elseif(source MATCHES "^print/canvas/")
    set(allows "${canvas_allows}")
  elseif(source MATCHES "^platform/")
    set(platform TRUE)
  elseif(source MATCHES "^storage/")
    list(APPEND failures "${source}: storage files belong in a room (records, io, journal, files)")
    continue()
  elseif(source MATCHES "^(app)/")
    continue()
  else()
    # Domain logic is a source pair whose name is not a window's; a header of
    # its own (no .cpp beside it) is part of the windows that include it.
    get_filename_component(name ${source} NAME_WE)
    get_filename_component(dir ${source} DIRECTORY)
    if(NOT (name MATCHES "^C[A-Z].*Dlg" OR name MATCHES "Widget$" OR name MATCHES "^C[A-Z].*Printer$")
       AND EXISTS ${SRC}/${dir}/${name}.cpp)
      set(domain TRUE)
    endif()
  endif()
  if(NOT allows AND NOT domain AND NOT platform)
    continue()
  endif()
  file(STRINGS ${SRC}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
    get_filename_component(incname ${included} NAME_WE)
    if(platform OR domain)
      # Neither may see a window or the application; domain logic not the platform either.
      set(above "^app/")
      if(domain)
        set(above "^(platform|app)/")
      endif()
      if(included MATCHES "${above}" OR incname MATCHES "^C[A-Z].*Dlg" OR incname MATCHES "Widget$"
         OR incname MATCHES "^C[A-Z].*Printer$")
        list(APPEND failures "${source}: includes ${included}, a layer above it")
      endif()
      continue()
    endif()
    set(ok FALSE)
    foreach(prefix IN LISTS allows)
      string(FIND "${included}" "${prefix}" at)
      if(at EQUAL 0)
        set(ok TRUE)
      endif()
    endforeach()
    if(NOT ok)
      list(APPEND failures "${source}: includes ${included}, above its room")
    endif()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Includes that climb:\n  ${text}")
endif()
