// The race pages' 2D materials: the status panel's frame, bars and track-map marks,
// the shooting display's cartridges, penalty counts, targets, miss flash and stopwatch,
// the nations' flags (named by their three-letter codes), the start info's weather and
// snow icons and the courses' maps (named after their levels). The pictures come from
// data/textures/hud, flags, menu and maps. The text batcher winds its quads clockwise,
// so every material says "cull none". The condition bar and its back stretch with a
// sine wave of frequency 0 (no change); the race sets the frequency to 1 while the
// athlete is exhausted, and the bar pulses between 0.9 and 1.1 of its size.

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
	}
}
