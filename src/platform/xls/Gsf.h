#pragma once

#include <glib-object.h>

// libgsf, the compound file and zip library, as reading and editing use it.
namespace sortilo::xls {

// Initialises libgsf once, its own warnings silenced: callers report damage themselves.
void initGsf();

// Owns one GObject reference.
template <typename T>
struct GRef {
    T* p = nullptr;
    explicit GRef(T* object) : p(object) {}
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    ~GRef() {
        if (p) {
            g_object_unref(p);
        }
    }
};

}  // namespace sortilo::xls
