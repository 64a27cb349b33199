#include "tests/gl_recorder.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <sstream>

#include "render/glut_headers.h"

namespace {

bool recording = false;
int quietDepth = 0;  // inside a GLUT routine: its own GL calls are not the program's
std::vector<GlCall> calls;

// Preloaded into the viewer: where the calls go, and after how many frames.
const char* recordFile = nullptr;
int framesLeft = 0;

__attribute__((constructor)) void recordWhenAsked() {
  recordFile = std::getenv("VELKARIN_RECORD_GL");
  if (recordFile == nullptr || *recordFile == '\0') {
    recordFile = nullptr;
    return;
  }
  const char* frames = std::getenv("VELKARIN_RECORD_FRAMES");
  framesLeft = frames != nullptr ? std::atoi(frames) : 2;
  recording = true;
}

void note(const char* name, std::initializer_list<double> args, const char* text = "") {
  if (recording && quietDepth == 0) {
    calls.push_back({name, args, text});
  }
}

// A call with an array argument: its fixed arguments, then the `count` values it points to.
void noteArray(const char* name, std::initializer_list<double> args, const GLfloat* values,
               int count) {
  if (recording && quietDepth == 0) {
    GlCall call{name, args, ""};
    for (int k = 0; k < count; ++k) {
      call.args.push_back(values[k]);
    }
    calls.push_back(call);
  }
}

// How many values a light or material parameter carries.
int valueCount(GLenum pname) {
  switch (pname) {
    case GL_SPOT_DIRECTION:
    case GL_COLOR_INDEXES:
      return 3;
    case GL_SPOT_EXPONENT:
    case GL_SPOT_CUTOFF:
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
    case GL_SHININESS:
      return 1;
    default:
      return 4;
  }
}

struct Quiet {
  Quiet() { ++quietDepth; }
  ~Quiet() { --quietDepth; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;
};

void writeCallsAndExit() {
  std::FILE* out = std::fopen(recordFile, "w");
  if (out != nullptr) {
    for (const GlCall& call : calls) {
      std::fprintf(out, "%s\n", formatCall(call).c_str());
    }
    std::fclose(out);
  }
  _exit(out != nullptr ? 0 : 3);
}

void frameSwapped() {
  if (recordFile != nullptr && --framesLeft <= 0) {
    writeCallsAndExit();
  }
}

// The library's own entry point of the same name.
template <typename Function>
Function passOn(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  Function function;
  static_assert(sizeof function == sizeof symbol);
  std::memcpy(&function, &symbol, sizeof function);
  return function;
}

template <typename Function>
double callback(Function function) {
  return function != nullptr ? 1.0 : 0.0;
}

}  // namespace

// PASS_ON(glClear)(mask): hands the call on to the library and returns what it returns.
#define PASS_ON(name)                                      \
  static const auto next = passOn<decltype(&name)>(#name); \
  return next

// Defines the entry point `name` with the parameters `params`: records the call with the
// numbers that follow, then passes it on with the arguments `passed`.
#define RECORD(result, name, params, passed, ...) \
  result name params {                            \
    note(#name, {__VA_ARGS__});                   \
    PASS_ON(name) passed;                         \
  }

std::string formatCall(const GlCall& call) {
  std::string line = call.name;
  char number[32];
  for (double arg : call.args) {
    std::snprintf(number, sizeof number, " %.17g", arg);
    line += number;
  }
  if (!call.text.empty()) {
    line += "\t" + call.text;
  }
  return line;
}

GlCall parseCall(const std::string& line) {
  GlCall call;
  const std::size_t tab = line.find('\t');
  std::istringstream words(line.substr(0, tab));
  words >> call.name;
  for (double arg; words >> arg;) {
    call.args.push_back(arg);
  }
  if (tab != std::string::npos) {
    call.text = line.substr(tab + 1);
  }
  return call;
}

void startRecording() {
  calls.clear();
  recording = true;
}

std::vector<GlCall> stopRecording() {
  recording = false;
  return std::move(calls);
}

extern "C" {

RECORD(void, glClear, (GLbitfield mask), (mask), double(mask))
RECORD(void, glPolygonMode, (GLenum face, GLenum mode), (face, mode), double(face), double(mode))
RECORD(void, glEnable, (GLenum cap), (cap), double(cap))
RECORD(void, glDisable, (GLenum cap), (cap), double(cap))
RECORD(void, glLightModeli, (GLenum name, GLint value), (name, value), double(name), double(value))
RECORD(void, glShadeModel, (GLenum mode), (mode), double(mode))
RECORD(void, glCullFace, (GLenum mode), (mode), double(mode))
RECORD(void, glFrontFace, (GLenum mode), (mode), double(mode))
RECORD(void, glColorMaterial, (GLenum face, GLenum mode), (face, mode), double(face), double(mode))
RECORD(void, glMatrixMode, (GLenum mode), (mode), double(mode))
RECORD(void, glLoadIdentity, (), (), )
RECORD(void, glPushMatrix, (), (), )
RECORD(void, glPopMatrix, (), (), )
RECORD(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
RECORD(void, glScalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
RECORD(void, glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z), a, x, y, z)
RECORD(void, glMaterialf, (GLenum face, GLenum name, GLfloat value), (face, name, value),
       double(face), double(name), value)
RECORD(void, glLightf, (GLenum light, GLenum name, GLfloat value), (light, name, value),
       double(light), double(name), value)
RECORD(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b), r, g, b)
RECORD(void, glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g, b, a)
RECORD(void, glBegin, (GLenum mode), (mode), double(mode))
RECORD(void, glEnd, (), (), )
RECORD(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
RECORD(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
RECORD(void, glBindTexture, (GLenum target, GLuint name), (target, name), double(target),
       double(name))
RECORD(void, glTexGeni, (GLenum coord, GLenum name, GLint value), (coord, name, value),
       double(coord), double(name), double(value))
RECORD(void, glTexEnvf, (GLenum target, GLenum name, GLfloat value), (target, name, value),
       double(target), double(name), value)
RECORD(void, glTexEnvi, (GLenum target, GLenum name, GLint value), (target, name, value),
       double(target), double(name), double(value))
RECORD(void, glTexParameterf, (GLenum target, GLenum name, GLfloat value), (target, name, value),
       double(target), double(name), value)
RECORD(void, glTexParameteri, (GLenum target, GLenum name, GLint value), (target, name, value),
       double(target), double(name), double(value))
RECORD(void, glGenTextures, (GLsizei n, GLuint* names), (n, names), double(n))
RECORD(void, glPixelStorei, (GLenum name, GLint value), (name, value), double(name), double(value))
RECORD(void, glTexImage2D,
       (GLenum target, GLint level, GLint internal, GLsizei width, GLsizei height, GLint border,
        GLenum format, GLenum type, const GLvoid* pixels),
       (target, level, internal, width, height, border, format, type, pixels), double(target),
       double(level), double(internal), double(width), double(height), double(border),
       double(format), double(type), pixels != nullptr ? 1.0 : 0.0)
RECORD(GLenum, glGetError, (), (), )
RECORD(void, glFlush, (), (), )
RECORD(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height),
       double(x), double(y), double(width), double(height))
RECORD(void, gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar),
       (fovy, aspect, zNear, zFar), fovy, aspect, zNear, zFar)

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
  noteArray("glLightfv", {double(light), double(name)}, values, valueCount(name));
  PASS_ON(glLightfv)(light, name, values);
}
void glMaterialfv(GLenum face, GLenum name, const GLfloat* values) {
  noteArray("glMaterialfv", {double(face), double(name)}, values, valueCount(name));
  PASS_ON(glMaterialfv)(face, name, values);
}
void glColor3fv(const GLfloat* values) {
  noteArray("glColor3fv", {}, values, 3);
  PASS_ON(glColor3fv)(values);
}

// GLUT: callbacks are recorded as set (1) or cleared (0); what GLUT itself draws or sets up
// is not the program's own call.
RECORD(void, glutInitDisplayMode, (unsigned int mode), (mode), double(mode))
RECORD(void, glutInitWindowPosition, (int x, int y), (x, y), double(x), double(y))
RECORD(void, glutInitWindowSize, (int width, int height), (width, height), double(width),
       double(height))
RECORD(void, glutKeyboardFunc, (void (*f)(unsigned char, int, int)), (f), callback(f))
RECORD(void, glutSpecialFunc, (void (*f)(int, int, int)), (f), callback(f))
RECORD(void, glutReshapeFunc, (void (*f)(int, int)), (f), callback(f))
RECORD(void, glutMouseFunc, (void (*f)(int, int, int, int)), (f), callback(f))
RECORD(void, glutMotionFunc, (void (*f)(int, int)), (f), callback(f))
RECORD(void, glutIdleFunc, (void (*f)()), (f), callback(f))
RECORD(void, glutDisplayFunc, (void (*f)()), (f), callback(f))
RECORD(void, glutMainLoop, (), (), )

void glutInit(int* argc, char** argv) {
  note("glutInit", {});
  Quiet quiet;
  PASS_ON(glutInit)(argc, argv);
}
int glutCreateWindow(const char* title) {
  note("glutCreateWindow", {}, title);
  Quiet quiet;
  PASS_ON(glutCreateWindow)(title);
}
void glutSolidSphere(double radius, GLint slices, GLint stacks) {
  note("glutSolidSphere", {radius, double(slices), double(stacks)});
  Quiet quiet;
  PASS_ON(glutSolidSphere)(radius, slices, stacks);
}
void glutSwapBuffers() {
  note("glutSwapBuffers", {});
  {
    Quiet quiet;
    static const auto next = passOn<decltype(&glutSwapBuffers)>("glutSwapBuffers");
    next();
  }
  frameSwapped();
}

}  // extern "C"
