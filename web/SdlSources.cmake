# SDL2 for the web, compiled from Debian's source of it straight into a
# static library with SDL's own configuration for Emscripten: SDL's CMake
# checks every feature by running the compiler, which under emcc takes
# minutes; these globs are the ones its CMakeLists uses on Emscripten.
set(sdl ${KORVESSA_SDL2_SOURCE})
set(sdl_globs
  src/*.c src/atomic/*.c src/cpuinfo/*.c src/dynapi/*.c src/events/*.c src/file/*.c
  src/libm/*.c src/stdlib/*.c src/render/*.c src/render/software/*.c
  src/render/opengles2/*.c
  src/audio/*.c src/audio/disk/*.c src/audio/dummy/*.c src/audio/emscripten/*.c
  src/filesystem/emscripten/*.c src/haptic/*.c src/haptic/dummy/*.c
  src/joystick/*.c src/joystick/emscripten/*.c src/loadso/dlopen/*.c src/locale/*.c
  src/locale/emscripten/*.c src/misc/*.c src/misc/emscripten/*.c src/power/*.c
  src/power/emscripten/*.c src/sensor/*.c src/sensor/dummy/*.c src/thread/*.c
  src/thread/generic/*.c src/timer/*.c src/timer/unix/*.c src/video/*.c
  src/video/emscripten/*.c src/video/yuv2rgb/*.c)
set(sdl_sources)
foreach(glob ${sdl_globs})
  file(GLOB found ${sdl}/${glob})
  list(APPEND sdl_sources ${found})
endforeach()
add_library(korvessa_sdl2 STATIC ${sdl_sources})
# Not a system folder: those come after Emscripten's own SDL 1 headers.
target_include_directories(korvessa_sdl2 PUBLIC ${sdl}/include)
target_include_directories(korvessa_sdl2 PRIVATE ${sdl}/src)
# SDL's own code, with its own warnings: not ours to fix.
target_compile_options(korvessa_sdl2 PRIVATE -w -Wno-error)
add_library(SDL2::SDL2 ALIAS korvessa_sdl2)

# zlib's CRC-32 alone, which the replay files' checksum uses.
add_library(korvessa_zlib STATIC ${KORVESSA_ZLIB_SOURCE}/crc32.c ${KORVESSA_ZLIB_SOURCE}/zutil.c)
target_include_directories(korvessa_zlib SYSTEM PUBLIC ${KORVESSA_ZLIB_SOURCE})
target_compile_options(korvessa_zlib PRIVATE -w -Wno-error)
add_library(ZLIB::ZLIB ALIAS korvessa_zlib)
