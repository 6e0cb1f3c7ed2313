// An LD_PRELOAD shim for the side-by-side frame measurement (bench/side_by_side.sh):
// counts the process's buffer swaps into an 8-byte counter at the start of the file
// named by NAVO_SWAP_COUNTER, which the script reads while the program runs. It wraps
// SDL2's SDL_GL_SwapWindow (our game: SDL finds GLX's functions itself, past any
// preload) and GLX's glXSwapBuffers (a program that calls GLX directly, as SFML does);
// a swap through SDL that reaches the wrapped glXSwapBuffers counts once.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

static uint64_t* g_counter;
static __thread int g_inSdlSwap;

static void CountSwap(void) {
  if (!g_counter) {
    const char* path = getenv("NAVO_SWAP_COUNTER");
    if (!path) return;
    const int fd = open(path, O_RDWR | O_CREAT, 0644);
    if (fd < 0) return;
    void* mapped = MAP_FAILED;
    if (ftruncate(fd, sizeof(uint64_t)) == 0) {
      mapped = mmap(NULL, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    close(fd);
    if (mapped == MAP_FAILED) return;
    g_counter = (uint64_t*)mapped;
  }
  __atomic_add_fetch(g_counter, 1, __ATOMIC_RELAXED);
}

void SDL_GL_SwapWindow(void* window) {
  static void (*next)(void*);
  if (!next) *(void**)&next = dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
  CountSwap();
  g_inSdlSwap = 1;
  if (next) next(window);
  g_inSdlSwap = 0;
}

void glXSwapBuffers(void* display, unsigned long drawable) {
  static void (*next)(void*, unsigned long);
  if (!next) *(void**)&next = dlsym(RTLD_NEXT, "glXSwapBuffers");
  if (!g_inSdlSwap) CountSwap();
  if (next) next(display, drawable);
}
