#include "render/CRender.h"

#include "render/render.h"

Render* CRender::current()
{
    return Render::current();
}

void CRender::ThreadStart()
{
    Render::current()->ThreadStart();
}

void CRender::ThreadStop()
{
    Render::current()->ThreadStop();
}
