// Materials of the particle templates (data/scripts/*.particle). Particles are
// camera-facing quads or point sprites coloured by their vertices; every stage blends,
// so none writes depth.

particles/snowflake
{
	cull none
	{
		map textures/particles/snowflake
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

particles/smoke
{
	cull none
	{
		map textures/particles/smoke
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

// Sparks and glitter add their light; their vertex alpha dims the colour.
particles/spark
{
	cull none
	{
		map textures/particles/spark
		blendfunc GL_SRC_ALPHA GL_ONE
		rgbgen vertex
		alphagen vertex
	}
}

particles/glow
{
	cull none
	{
		map textures/particles/glow
		blendfunc GL_SRC_ALPHA GL_ONE
		rgbgen vertex
		alphagen vertex
	}
}
