// The race pages' 2D materials: the status panel's frame, bars and track-map marks,
// the shooting display's cartridges, penalty counts, targets, miss flash and stopwatch,
// the nations' flags (named by their three-letter codes), the start info's weather and
// snow icons and the courses' maps (named after their levels). The pictures come from
// data/textures/hud, flags, menu and maps. The text batcher winds its quads clockwise,
// so every material says "cull none", and "depthfunc always" (2D lies at depth 0,
// where "lequal" always passes: no depth buffer is needed). The condition bar and its
// back stretch with a sine wave of frequency 0 (no change); the race sets the
// frequency to 1 while the athlete is exhausted, and the bar pulses between 0.9 and
// 1.1 of its size.

textures\hud\frame
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/hud/frame
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\power
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/hud/power
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\power_back
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/hud/power_back
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\cond
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/hud/cond
		tcmod stretch sin 1.0 0.1 0 0
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\cond_back
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/hud/cond_back
		tcmod stretch sin 1.0 0.1 0 0
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\mark
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/mark
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\playermark
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/playermark
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\red_flash
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/red_flash
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\hud\stopwatch
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/stopwatch
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BULLETS0
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/bullets0
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BULLETS1
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/bullets1
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BULLETS2
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/bullets2
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BULLETS3
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/bullets3
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BULLETS4
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/bullets4
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BULLETS5
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/bullets5
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY0
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty0
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY1
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty1
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY2
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty2
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY3
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty3
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY4
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty4
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY5
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty5
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY6
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty6
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY7
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty7
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

PENALTY8
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/penalty8
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

HIT
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/hit
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

MISS
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/hud/miss
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

GER
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/ger
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

AUT
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/aut
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

SUI
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/sui
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

USA
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/usa
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

FRA
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/fra
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

ROM
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/rom
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

GRL
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/grl
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

ARG
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/arg
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

MDA
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/mda
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

GRE
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/gre
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

ITA
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/ita
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

NZL
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/nzl
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

HUN
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/hun
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

LTU
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/ltu
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

CRO
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/cro
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

CHI
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/chi
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

AUS
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/aus
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BUL
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/bul
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

CAN
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/can
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BLR
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/blr
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

CZE
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/cze
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

EST
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/est
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

FIN
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/fin
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

GBR
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/gbr
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

LAT
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/lat
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

NOR
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/nor
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

POL
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/pol
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

RUS
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/rus
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

SLO
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/slo
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

SVK
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/svk
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

SWE
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/swe
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

UKR
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/flags/ukr
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\sunny
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/sunny
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\snowy
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/snowy
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\foggy
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/foggy
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\dry
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/dry
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\wet
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/wet
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\ice
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/ice
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Beitostolen
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/beitostolen
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Holmenkollen
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/holmenkollen
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Ostersund
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/ostersund
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Oberhof
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/oberhof
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Ruhpolding
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/ruhpolding
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Antholz
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/antholz
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Torino
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/torino
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Pokljuka
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/pokljuka
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Hochfilzen
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/hochfilzen
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Khanty-Mansiysk
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/khanty-mansiysk
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Running
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/running
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

Training
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/maps/training
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}
